// The release archive as a player gets it: ReleaseTest.cmake builds the package,
// unpacks it into an empty folder and starts this program with that folder. Here
// the unpacked files are checked, and the unpacked TOL.exe is started with the
// sample TOL.ini and read through its real window, then closed as a player would.
// The published archive holds the 32-bit program; a 64-bit build, for machines that
// cannot run 32-bit code, starts the same files packed from its own build instead.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using namespace tol::test;

namespace {

// The unpacked archives, ending in "\": the published one, and the one whose TOL.exe
// is started (the same folder in the 32-bit build).
std::string Published, Started;

// The sample settings file, read line by line on its own, without the system's
// settings reader that the launcher uses.
struct TSample {
    struct TZone {
        std::string Name, Internal, Status;
    };
    std::vector<TZone> Zones;
    std::string CommentedTutorial, CommentedOffset; // the defaults the comments state
};

TSample ReadSample(const std::string& FileName)
{
    TSample Sample;
    std::string Section;
    const std::string Text = ReadBytes(FileName);
    for (std::size_t Start = 0, End = 0; Start < Text.size(); Start = End + 2) {
        End = std::min(Text.find("\r\n", Start), Text.size());
        const std::string Line = Text.substr(Start, End - Start);
        if (Line.empty())
            continue;
        if (Line.front() == '[') {
            Section = Line.substr(1, Line.find(']') - 1);
        } else if (Section == "Settings" && Line.rfind(";Tutorial=", 0) == 0) {
            Sample.CommentedTutorial = Line.substr(std::strlen(";Tutorial="));
        } else if (Section == "Settings" && Line.rfind(";Offset=", 0) == 0) {
            Sample.CommentedOffset = Line.substr(std::strlen(";Offset="));
        } else if (Section == "Zones" && Line.front() != ';') {
            // Display Name=internal|status; a line without both marks keeps what it has.
            const auto Equal = std::min(Line.find('='), Line.size());
            const auto Bar = std::min(Line.find('|', Equal), Line.size());
            TSample::TZone Zone{Line.substr(0, Equal), {}, {}};
            if (Equal < Line.size())
                Zone.Internal = Line.substr(Equal + 1, Bar - Equal - 1);
            if (Bar < Line.size())
                Zone.Status = Line.substr(Bar + 1);
            Sample.Zones.push_back(Zone);
        }
    }
    return Sample;
}

// True when every line, the last one too, ends in CR LF and no CR or LF stands alone.
bool AllLinesEndInCrlf(const std::string& Bytes)
{
    for (std::size_t I = 0; I < Bytes.size(); ++I) {
        if (Bytes[I] == '\r' && (I + 1 == Bytes.size() || Bytes[I + 1] != '\n'))
            return false;
        if (Bytes[I] == '\n' && (I == 0 || Bytes[I - 1] != '\r'))
            return false;
    }
    return Bytes.size() >= 2 && Bytes.compare(Bytes.size() - 2, 2, "\r\n") == 0;
}

// The PE header's machine and subsystem: 0x14C (x86) and 2 (Windows GUI) for TOL.exe.
// 0x8664 for a 64-bit build.
std::pair<unsigned, unsigned> MachineAndSubsystem(const std::string& Bytes)
{
    const auto Word = [&](std::size_t At) {
        return At + 2 <= Bytes.size() ? static_cast<unsigned>(static_cast<unsigned char>(Bytes[At])
                                                              | static_cast<unsigned char>(Bytes[At + 1]) << 8)
                                      : 0u;
    };
    if (Bytes.rfind("MZ", 0) != 0 || Bytes.size() < 0x40)
        return {0, 0};
    const std::size_t Pe = Word(0x3C) | static_cast<std::size_t>(Word(0x3E)) << 16;
    if (Pe + 24 + 70 > Bytes.size() || Bytes.compare(Pe, 4, std::string("PE\0\0", 4)) != 0)
        return {0, 0};
    return {Word(Pe + 4), Word(Pe + 24 + 68)};
}

TEST(ReleaseArchive, HoldsTheProgramTheSampleSettingsAndTheReadMeAndNothingElse)
{
    EXPECT_EQ(ListFolder(Published), (std::vector<std::string>{"ReadMe.txt", "TOL.exe", "TOL.ini"}));
    EXPECT_EQ(MachineAndSubsystem(ReadBytes(Published + "TOL.exe")), std::make_pair(0x14Cu, 2u))
        << "TOL.exe is to be a 32-bit Windows GUI program";
}

TEST(ReleaseArchive, TheStartedArchiveHoldsTheSameFilesWithThisBuildsProgram)
{
    EXPECT_EQ(ListFolder(Started), ListFolder(Published));
    for (const char* Name : {"TOL.ini", "ReadMe.txt"})
        EXPECT_EQ(ReadBytes(Started + Name), ReadBytes(Published + Name)) << Name;
    const unsigned OwnMachine = sizeof(void*) == 8 ? 0x8664u : 0x14Cu;
    EXPECT_EQ(MachineAndSubsystem(ReadBytes(Started + "TOL.exe")), std::make_pair(OwnMachine, 2u));
}

TEST(ReleaseArchive, TextFilesHaveWindowsLineEndsAndNoByteOrderMark)
{
    for (const char* Name : {"TOL.ini", "ReadMe.txt"}) {
        const std::string Bytes = ReadBytes(Published + Name);
        EXPECT_GT(Bytes.size(), 100u) << Name;
        EXPECT_NE(Bytes.rfind("\xEF\xBB\xBF", 0), 0u) << Name << ": a byte-order mark";
        EXPECT_TRUE(AllLinesEndInCrlf(Bytes)) << Name;
    }
    const TSample Sample = ReadSample(Published + "TOL.ini");
    EXPECT_GE(Sample.Zones.size(), 3u);
    for (const auto& Zone : Sample.Zones) {
        EXPECT_FALSE(Zone.Name.empty());
        EXPECT_FALSE(Zone.Internal.empty()) << Zone.Name;
        EXPECT_LE(Zone.Internal.size(), 12u) << Zone.Name << ": the field holds 12 characters";
    }
}

TEST(ReleaseLauncher, ListsTheSampleZonesShowsTheCommentedDefaultsAndClosesWithExitCodeZero)
{
    const TSample Sample = ReadSample(Started + "TOL.ini");
    ASSERT_GE(Sample.Zones.size(), 3u);
    ASSERT_FALSE(Sample.CommentedTutorial.empty());
    ASSERT_FALSE(Sample.CommentedOffset.empty());

    // The unpacked TOL.exe in its folder; ended by force if a check fails first.
    const TProcess Launcher(Started + "TOL.exe", {Started});
    const HWND Window = MainWindowOf(Launcher);
    ASSERT_NE(Window, nullptr) << "no window of class TFormMain captioned Tolvane appeared";

    // With both settings commented out the launcher uses its defaults, which the
    // sample's comments state.
    EXPECT_EQ(ChildTexts(Window, "Edit"), std::vector<std::string>{Sample.CommentedTutorial});
    EXPECT_EQ(ChildTexts(Window, "ComboBox"), std::vector<std::string>{Sample.CommentedOffset});

    const HWND List = OnlyChild(Window, WC_LISTVIEWA);
    ASSERT_NE(List, nullptr);
    std::vector<std::string> Expected;
    for (const auto& Zone : Sample.Zones)
        Expected.push_back(Zone.Name + "|" + Zone.Internal + "|" + Zone.Status);
    EXPECT_EQ(Rows(List), Expected) << "the sample's zones, row by row";
    EXPECT_EQ(SelectedRows(List), std::vector<int>{0}) << "the first zone is selected at start";

    PostMessageA(Window, WM_CLOSE, 0, 0);
    EXPECT_EQ(Launcher.WaitForExit(10s), 0);
}

} // namespace

// ReleaseTest <published folder> [<started folder>], as Windows names them
int main(int Argc, char** Argv)
{
    ::testing::InitGoogleTest(&Argc, Argv);
    if (Argc != 2 && Argc != 3) {
        std::fprintf(stderr, "usage: ReleaseTest <unpacked published archive> [<unpacked archive to start>]\n");
        return 2;
    }
    const auto Folder = [](std::string Name) { return Name.back() == '\\' ? Name : Name + '\\'; };
    Published = Folder(Argv[1]);
    Started = Folder(Argv[Argc - 1]);
    return RUN_ALL_TESTS();
}

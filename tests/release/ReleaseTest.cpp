// The release archive as a player gets it: ReleaseTest.cmake builds the package,
// unpacks it into an empty folder and starts this program with that folder. Here
// the unpacked files are checked, and the unpacked TOL.exe is started with the
// sample TOL.ini and read through its real window, then closed as a player would.
// The published archive holds the 32-bit program; a 64-bit build, for machines that
// cannot run 32-bit code, starts the same files packed from its own build instead.
#include "GlobalImp.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

using namespace tol::test;

namespace {

// The unpacked archives, ending in "\": the published one, and the one whose TOL.exe
// is started (the same folder in the 32-bit build).
std::string Published, Started;

// The sample settings file, read line by line on its own, without the system's
// settings reader that the launcher uses; its zone lines split by the catalogue's rule.
struct TSample {
    std::vector<tol::TZone> Zones;
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
            Sample.Zones.push_back(tol::ParseZoneLine(Line));
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

// The PE header's machine, subsystem and subsystem version: 0x14C (x86), 2 (Windows
// GUI) and 6.1 (Windows 7) for TOL.exe, 0x8664 for a 64-bit build. The optional
// header keeps them at the same places in both.
std::vector<unsigned> PeHeader(const std::string& Bytes)
{
    const auto Word = [&](std::size_t At) {
        return At + 2 <= Bytes.size() ? static_cast<unsigned>(static_cast<unsigned char>(Bytes[At])
                                                              | static_cast<unsigned char>(Bytes[At + 1]) << 8)
                                      : 0u;
    };
    if (Bytes.rfind("MZ", 0) != 0 || Bytes.size() < 0x40)
        return {};
    const std::size_t Pe = Word(0x3C) | static_cast<std::size_t>(Word(0x3E)) << 16;
    if (Pe + 24 + 70 > Bytes.size() || Bytes.compare(Pe, 4, std::string("PE\0\0", 4)) != 0)
        return {};
    return {Word(Pe + 4), Word(Pe + 24 + 68), Word(Pe + 24 + 48), Word(Pe + 24 + 50)};
}

// The program's manifest as the system's resource loader finds it.
std::string ManifestOf(const std::string& FileName)
{
    const HMODULE Module = LoadLibraryExA(FileName.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!Module)
        return {};
    std::string Text;
    if (const HRSRC Found = FindResourceA(Module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24) /* RT_MANIFEST */))
        if (const HGLOBAL Loaded = LoadResource(Module, Found))
            Text.assign(static_cast<const char*>(LockResource(Loaded)), SizeofResource(Module, Found));
    FreeLibrary(Module);
    return Text;
}

TEST(ReleaseArchive, HoldsTheProgramTheSampleSettingsAndTheReadMeAndNothingElse)
{
    EXPECT_EQ(ListFolder(Published), (std::vector<std::string>{"ReadMe.txt", "TOL.exe", "TOL.ini"}));
    EXPECT_EQ(PeHeader(ReadBytes(Published + "TOL.exe")), (std::vector<unsigned>{0x14C, 2, 6, 1}))
        << "TOL.exe is to be a 32-bit Windows GUI program for Windows 7 on";
    // Vista, 7, 8, 8.1, and 10 and 11: without them Windows takes it for a Vista program.
    const std::string Manifest = ManifestOf(Published + "TOL.exe");
    for (const char* Id : {"e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
                           "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
                           "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"})
        EXPECT_NE(Manifest.find(std::string("<supportedOS Id=\"{") + Id + "}\"/>"), std::string::npos) << Id;
    // Each window at its monitor's scale from Windows 10 on; the system's scale before.
    for (const char* Awareness : {">PerMonitorV2, PerMonitor</dpiAwareness>", ">true</dpiAware>"})
        EXPECT_NE(Manifest.find(Awareness), std::string::npos) << Awareness;
}

TEST(ReleaseArchive, TheStartedArchiveHoldsTheSameFilesWithThisBuildsProgram)
{
    EXPECT_EQ(ListFolder(Started), ListFolder(Published));
    for (const char* Name : {"TOL.ini", "ReadMe.txt"})
        EXPECT_EQ(ReadBytes(Started + Name), ReadBytes(Published + Name)) << Name;
    const unsigned OwnMachine = sizeof(void*) == 8 ? 0x8664u : 0x14Cu;
    EXPECT_EQ(PeHeader(ReadBytes(Started + "TOL.exe")), (std::vector<unsigned>{OwnMachine, 2, 6, 1}));
}

TEST(ReleaseArchive, TextFilesHaveWindowsLineEndsAndNoByteOrderMark)
{
    for (const char* Name : {"TOL.ini", "ReadMe.txt"}) {
        const std::string Bytes = ReadBytes(Published + Name);
        EXPECT_GT(Bytes.size(), 100u) << Name;
        EXPECT_NE(Bytes.rfind("\xEF\xBB\xBF", 0), 0u) << Name << ": a byte-order mark";
        EXPECT_TRUE(AllLinesEndInCrlf(Bytes)) << Name;
    }
    // What a player on Windows needs: the rights under Program Files, a downloaded
    // game's mark, and that the tutorial's compatibility settings reach the copies.
    const std::string ReadMe = ReadBytes(Published + "ReadMe.txt");
    for (const char* Advice : {"\"Run as administrator\"", "Unblock Tutorial.exe", "Properties, Compatibility"})
        EXPECT_NE(ReadMe.find(Advice), std::string::npos) << Advice;

    // The classic world's zones, each noted with its continent and nothing else.
    const TSample Sample = ReadSample(Published + "TOL.ini");
    ASSERT_EQ(Sample.Zones.size(), 74u);
    for (const auto& [Row, Name, Internal, Status] :
         {std::tuple{0, "South Qeynos", "qeynos", "Antonica"}, std::tuple{40, "Lower Guk", "gukbottom", "Antonica"},
          std::tuple{49, "Greater Faydark", "gfaydark", "Faydwer"}, std::tuple{64, "Erudin", "erudnext", "Odus"},
          std::tuple{73, "Plane of Hate", "hateplane", "Planes"}}) {
        const auto& Zone = Sample.Zones[static_cast<std::size_t>(Row)];
        EXPECT_EQ(Zone.Name + "=" + Zone.InternalName + "|" + Zone.Status,
                  std::string(Name) + "=" + Internal + "|" + Status);
    }
    for (const auto& Zone : Sample.Zones) {
        EXPECT_FALSE(Zone.Name.empty());
        EXPECT_FALSE(Zone.InternalName.empty()) << Zone.Name;
        EXPECT_LE(Zone.InternalName.size(), 12u) << Zone.Name << ": the field holds 12 characters";
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
        Expected.push_back(Zone.Name + "|" + Zone.InternalName + "|" + Zone.Status);
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

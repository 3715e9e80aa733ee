// The settings file read through the real private-profile service, from real files.
#include "Settings.h"
#include "Errors.h"
#include "FileSystem.h"
#include "IniFileImp.h"
#include "Paths.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>

using namespace tol;
using namespace tol::test;

namespace {

// The reading the catalogue is defined by: one request per key name, and the merge
// by name without regard to letter case, done the slow, obvious way.
std::vector<std::string> ReadSectionValuesPerKey(const TIniFile& Ini, const std::string& Section)
{
    std::vector<std::string> Names, Lines;
    Ini.ReadSection(Section, Names);
    for (const auto& Name : Names) {
        const std::string Value = Ini.ReadString(Section, Name, "");
        const auto Found = std::find_if(Lines.begin(), Lines.end(), [&](const std::string& Line) {
            const std::string LineName = Line.substr(0, Line.find('='));
            return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, LineName.c_str(), -1, Name.c_str(), -1)
                   == CSTR_EQUAL;
        });
        if (Value.empty()) {
            if (Found != Lines.end())
                Lines.erase(Found);
        } else if (Found != Lines.end()) {
            *Found = Name + "=" + Value;
        } else {
            Lines.push_back(Name + "=" + Value);
        }
    }
    return Lines;
}

class SettingsTest : public ::testing::Test {
protected:
    void UseSettings(const std::string& Text)
    {
        WriteBytes(Folder / "TOL.ini", Text);
        IniFileName = Folder / "TOL.ini";
        ReleaseIniFile();
    }
    std::vector<TZone> Load()
    {
        LoadZones();
        return Zones;
    }
    void TearDown() override { ReleaseIniFile(); }

    TTestFolder Folder{"settings"};
};

// A file at a fixed place outside the test's folders, made or removed at will, and
// gone at the end with the folder made for it.
class TScopedFile {
public:
    explicit TScopedFile(std::string FileName) : FFileName(std::move(FileName)) {}
    ~TScopedFile() { Make(false); }
    TScopedFile(const TScopedFile&) = delete;
    TScopedFile& operator=(const TScopedFile&) = delete;
    void Make(bool There) const
    {
        const std::string Folder = ExtractFilePath(FFileName);
        if (There) {
            CreateDirectoryA(Folder.c_str(), nullptr);
            WriteBytes(FFileName, "MZ");
        } else {
            DeleteFileA(FFileName.c_str());
            RemoveDirectoryA(Folder.c_str());
        }
    }

private:
    std::string FFileName;
};

std::string ZoneText(const TZone& Zone) { return Zone.Name + "/" + Zone.InternalName + "/" + Zone.Status; }

} // namespace

TEST_F(SettingsTest, CatalogueEntriesSplitIntoNameInternalNameAndStatus)
{
    UseSettings("[Zones]\r\nNorth Gate=ngate|Works\r\nSouth Gate=sgate\r\nOdd=a|b|c\r\nA=b=c|d\r\n"
                "Pipe|Name=x|y\r\nEmpty=\r\nLast=last|Not tested\r\n");
    const auto Handed = Load();
    std::vector<std::string> Texts;
    for (const auto& Zone : Handed)
        Texts.push_back(ZoneText(Zone));
    EXPECT_EQ(Texts, (std::vector<std::string>{"North Gate/ngate/Works", "South Gate/sgate/", "Odd/a/b|c", "A/b=c/d",
                                               "Pipe|Name//Name=x|y", "Last/last/Not tested"}));
}

TEST_F(SettingsTest, LongValuesAreCutTo2047CharactersBeforeTheSplit)
{
    const std::string Long = "x|" + std::string(3000, 's');
    UseSettings("[Zones]\r\nLong=" + Long + "\r\nShort=s|ok\r\n");
    const auto Handed = Load();
    ASSERT_EQ(Handed.size(), 2u);
    EXPECT_EQ(Handed[0].InternalName, "x");
    EXPECT_EQ(Handed[0].Status, std::string(2045, 's'));
    EXPECT_EQ(Handed[1].Status, "ok");
}

TEST_F(SettingsTest, MissingSettingsFallBackToDefaults)
{
    UseSettings("[Zones]\r\nNorth Gate=ngate|Works\r\n");
    EXPECT_EQ(GetTutorialFileName(), "C:\\Program Files\\EverQuest\\Tutorial.exe");
    EXPECT_EQ(GetOffset(), 1669500);

    UseSettings("");
    EXPECT_EQ(GetOffset(), 1669500);
    EXPECT_TRUE(Load().empty());

    UseSettings("[Settings]\r\nTutorial=D:\\Games\\EQ\\tutorial.exe\r\nOffset=1669008\r\n[Zones]\r\n");
    EXPECT_EQ(GetTutorialFileName(), "D:\\Games\\EQ\\tutorial.exe");
    EXPECT_EQ(GetOffset(), 1669008);
    EXPECT_TRUE(Load().empty());
}

TEST_F(SettingsTest, WithoutATutorialSettingTheGameUnderThe32BitProgramFolderIsFound)
{
    // A 64-bit prefix has both program folders, as 64-bit Windows has; a 32-bit one names
    // the same folder twice.
    char X86[MAX_PATH];
    ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILESX86, nullptr, SHGFP_TYPE_CURRENT, X86), S_OK);
    if (sizeof(void*) == 8) {
        ASSERT_STRNE(X86, "C:\\Program Files");
    }
    const std::string Default = "C:\\Program Files\\EverQuest\\Tutorial.exe";
    const std::string Installed = std::string(X86) + "\\EverQuest\\Tutorial.exe";
    if (Exists(Default) || Exists(Installed))
        GTEST_SKIP() << "a game is installed here: its files are not the test's to touch";
    const TScopedFile InDefault(Default), InX86(Installed);
    struct TCase {
        bool DefaultThere, X86There;
        std::string Settings, Expected;
    };
    for (const TCase& Case :
         {TCase{false, false, "", Default}, TCase{false, true, "", Installed}, TCase{true, true, "", Default},
          TCase{false, true, "[Settings]\r\ntutorial=" + Default + "\r\n", Default},
          TCase{false, true, "[Settings]\r\nTutorial=\r\n", ""}}) {
        InDefault.Make(Case.DefaultThere);
        InX86.Make(Case.X86There);
        UseSettings(Case.Settings + "[Zones]\r\n");
        EXPECT_EQ(GetTutorialFileName(), Case.Expected) << Case.Settings << Case.DefaultThere << Case.X86There;
    }
}

TEST_F(SettingsTest, OffsetFollowsTheIntegerRules)
{
    // The service trims blanks around values, so a blank inside quotes is what keeps one.
    for (const char* Text : {"\" 1669500\"", "+1669500", "01669500", "$19797C", "x19797C", "0x19797C"}) {
        UseSettings(std::string("[Settings]\r\nOffset=") + Text + "\r\n");
        EXPECT_EQ(GetOffset(), 1669500) << Text;
    }
    UseSettings("[Settings]\r\nOffset=-2147483648\r\n");
    EXPECT_EQ(GetOffset(), INT32_MIN);

    // Each as stored, and as the service hands it over.
    for (const auto& [Stored, Read] :
         {std::pair{"\"1669500 \"", "1669500 "}, std::pair{"-$10", "-$10"}, std::pair{"$", "$"}, std::pair{"+", "+"},
          std::pair{"2147483648", "2147483648"}, std::pair{"", ""}}) {
        UseSettings(std::string("[Settings]\r\nOffset=") + Stored + "\r\n");
        try {
            GetOffset();
            ADD_FAILURE() << "no failure for " << Stored;
        } catch (const EConvertError& E) {
            EXPECT_EQ(E.what(), "'" + std::string(Read) + "' is not a valid integer value");
        }
    }
}

TEST_F(SettingsTest, NamesEqualWithoutRegardToCaseGiveOneZoneAtTheFirstPlace)
{
    UseSettings("[Zones]\r\nNorth=a|first\r\nMiddle=m\r\nNORTH=b|second\r\n");
    const auto Handed = Load();
    ASSERT_EQ(Handed.size(), 2u);
    // The later spelling, with the value the service gives for that name.
    const TIniFile Ini(IniFileName);
    EXPECT_EQ(ZoneText(Handed[0]), ZoneText(ParseZoneLine("NORTH=" + Ini.ReadString("Zones", "NORTH", ""))));
    EXPECT_EQ(Handed[0].Name, "NORTH");
    EXPECT_EQ(Handed[1].Name, "Middle");
}

TEST_F(SettingsTest, HostileFilesGiveTheSameZonesAsPerKeyReading)
{
    const std::vector<std::string> Files = {
        // blank lines, comments, quotes, blanks around names and values
        "\r\n[Zones]\r\n\r\n; a comment=1\r\n# not a comment=2\r\nA = \" spaced \" | q\r\nB='single'\r\n"
        "C=\"unbalanced\r\nD=  plain  \r\n\r\n",
        // a key line without "=", a section given twice, duplicates of one name
        "[Zones]\r\nNoEquals\r\nOne=1|x\r\none=2|y\r\n[Other]\r\nX=1\r\n[Zones]\r\nTwo=2\r\nOne=3\r\n",
        // a UTF-8 byte-order mark
        "\xEF\xBB\xBF[Zones]\r\nBom=bom|first line\r\nNext=next\r\n",
        // bytes above 127 in names and values
        "[Zones]\r\nCaf\xE9 Bar=cafe|\xC0 la carte\r\nK\xF6nigsberg=kberg\r\n",
        // names equal without regard to case beyond ASCII, or apart from a control character
        "[Zones]\r\nCaf\xE9=one|x\r\nCAF\xC9=two|y\r\n\xC6sir=a\r\n\xE6SIR=b\r\nCtl\x01Name=c\r\nCtlName=d\r\n",
        // a value empty after its first spelling, Unix line ends, tabs
        "[Zones]\nGone=x\nGONE=\nTab\t=\tt|\tv\t\nLast=l\n",
        // blanks and tabs around key, "=" and value
        "[Zones]\r\nA = a|s\r\nB= b \r\nC =\tc|s\t\r\n D=d\r\nE\t=e\r\nF=f \r\nG=\tg\r\nH=h|s \r\nI=i\r\n",
    };
    // The section read as Wine's service reads it, and as a service that keeps the
    // blanks of each line as written.
    for (const bool KeepBlanks : {false, true}) {
        const auto Redirect = KeepBlanks
                                  ? std::make_unique<TImportRedirect>("kernel32.dll", "GetPrivateProfileSectionA",
                                                                      reinterpret_cast<void*>(&GetSectionKeepingBlanks))
                                  : nullptr;
        for (const auto& Text : Files) {
            UseSettings(Text);
            TIniFile Ini(IniFileName);
            std::vector<std::string> Fast;
            Ini.ReadSectionValues("Zones", Fast);
            EXPECT_EQ(Fast, ReadSectionValuesPerKey(Ini, "Zones")) << (KeepBlanks ? "keeping blanks: " : "") << Text;
        }
    }
}

TEST_F(SettingsTest, LargeCataloguesLoadWholeAndInOrder)
{
    std::string Text = "[Zones]\r\n";
    for (int I = 0; I < 5000; ++I) {
        Text += "Zone number " + std::to_string(I) + "=z" + std::to_string(I) + "|status " + std::to_string(I) + "\r\n";
        if (I % 97 == 0)
            Text += "zone NUMBER " + std::to_string(I) + "=dup" + std::to_string(I) + "\r\n";
        if (I % 89 == 0)
            Text += "Quoted " + std::to_string(I) + "=\"q" + std::to_string(I) + "\"\r\n";
    }
    UseSettings(Text);
    TIniFile Ini(IniFileName);
    std::vector<std::string> Names;
    Ini.ReadSection("Zones", Names);
    ASSERT_EQ(Names.size(), 5000u + 52u + 57u) << "names beyond the first 16384 bytes must not be lost";
    EXPECT_EQ(Names.back(), "Zone number 4999");

    const auto Handed = Load();
    ASSERT_EQ(Handed.size(), 5000u + 57u);
    EXPECT_EQ(Handed.front().Name, "zone NUMBER 0");
    EXPECT_EQ(Handed.back().Name, "Zone number 4999");
    EXPECT_EQ(Handed.back().Status, "status 4999");
}

TEST_F(SettingsTest, AGeneratedCatalogueGivesTheSameZonesAsPerKeyReading)
{
    // Per-key reading parses the file once per key, so this catalogue is kept smaller.
    std::string Text = "[Zones]\r\n";
    for (int I = 0; I < 1000; ++I) {
        const std::string N = std::to_string(I);
        Text += "Zone " + N + " = z" + N + " | status " + N + "\r\n";
        if (I % 37 == 0)
            Text += "ZONE " + N + "=again" + N + "\r\n";
        if (I % 41 == 0)
            Text += "Quoted " + N + "='q" + N + "'\r\n; comment " + N + "\r\nNo equals " + N + "\r\nBlank " + N
                    + "=\r\n";
    }
    UseSettings(Text);
    const TIniFile Ini(IniFileName);
    std::vector<std::string> Fast;
    Ini.ReadSectionValues("Zones", Fast);
    EXPECT_EQ(Fast.size(), 1000u + 25u);
    EXPECT_EQ(Fast, ReadSectionValuesPerKey(Ini, "Zones"));
}

TEST_F(SettingsTest, ReadSectionValuesKeepsAndReplacesLinesAlreadyThere)
{
    UseSettings("[Zones]\r\nkeep=new\r\nDrop=\r\nAdded=1\r\n");
    TIniFile Ini(IniFileName);
    std::vector<std::string> Lines = {"KEEP=old", "Other=o", "drop=d"};
    Ini.ReadSectionValues("Zones", Lines);
    EXPECT_EQ(Lines, (std::vector<std::string>{"keep=new", "Other=o", "Added=1"}));
}

TEST(InitIniFileName, FindsTheFileBesideTheExecutableOrReportsItMissing)
{
    const std::string Expected = TSettingsBesideExe::Path();
    DeleteFileA(Expected.c_str());
    {
        TMessageRecorder Recorder;
        EXPECT_FALSE(InitIniFileName());
        EXPECT_EQ(IniFileName, Expected);
        ASSERT_EQ(Recorder.Messages.size(), 1u);
        EXPECT_EQ(Recorder.Messages[0].Kind, TMessageKind::Error);
        EXPECT_EQ(Recorder.Messages[0].Text, "Initialization file, \"" + Expected + "\", not found.");
        EXPECT_NE(ExitCodeNoSettings, 0) << "a missing settings file is a failure";
    }
    {
        // A file unpacked with an odd date is there all the same.
        WriteBytes(Expected, "[Settings]\r\n");
        SetFileYear(Expected, 1970);
        TMessageRecorder Recorder;
        EXPECT_TRUE(InitIniFileName());
        EXPECT_TRUE(Recorder.Messages.empty());
    }
    {
        // The system cannot give the program's path whole: the file is as good as
        // missing, even with a "TOL.ini" in the current folder, and is named as fully
        // as the system can.
        const TCurrentTestFolder Current;
        WriteBytes("TOL.ini", "[Settings]\r\n");
        const std::string Deep = "Z:\\" + std::string(280, 'd') + "\\";
        for (const auto& [Path, Named] :
             {std::pair<std::string, std::string>{"", "TOL.ini"}, {Deep + "TOL.exe", Deep + "TOL.ini"}}) {
            const TProgramPath Module(Path);
            TMessageRecorder Recorder;
            EXPECT_FALSE(InitIniFileName()) << Named;
            EXPECT_EQ(IniFileName, Named);
            ASSERT_EQ(Recorder.Messages.size(), 1u);
            EXPECT_EQ(Recorder.Messages[0].Text, "Initialization file, \"" + Named + "\", not found.");
        }
    }
    DeleteFileA(Expected.c_str());
}

TEST(FileExists, AnyEntryThatIsNotAFolderExistsWhateverItsDate)
{
    TTestFolder Folder("exists");
    WriteBytes(Folder / "plain.exe", "x");
    EXPECT_TRUE(FileExists(Folder / "plain.exe"));
    for (int Year : {1601, 1970, 1979, 2107, 2108, 2200}) {
        SetFileYear(Folder / "plain.exe", Year);
        EXPECT_TRUE(FileExists(Folder / "plain.exe")) << Year;
    }
    CreateDirectoryA((Folder / "folder.exe").c_str(), nullptr);
    // Folders, nothing, paths through what is missing or is a file, and wildcards, which name no one file.
    for (const std::string& Path :
         {Folder / "folder.exe", Folder.Path(), Folder / "missing.exe", std::string(), Folder / "missing\\deeper.exe",
          Folder / "plain.exe\\inside", Folder / "pl*.exe", Folder / "pl?in.exe", Folder / "*"})
        EXPECT_FALSE(FileExists(Path)) << Path;
}

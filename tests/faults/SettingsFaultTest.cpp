// Settings files the player did not mean to write, met by the real TOL.exe: it lists
// what the file holds, launches from it, and never writes to it.
#include "FaultFixture.h"

#include <random>

using namespace tol;
using namespace tol::test;

namespace {

// Bytes of a fixed seed: the same file on every run and every machine (the engine's
// output is fixed by the standard, unlike the library's distributions).
std::string RandomBytes(std::size_t Count, std::uint32_t Seed)
{
    std::mt19937 Engine(Seed);
    std::string Bytes;
    for (std::size_t I = 0; I < Count; ++I)
        Bytes += static_cast<char>(Engine() & 0xFF);
    return Bytes;
}

class SettingsFaults : public FaultProgramTest {
protected:
    // The window of a settings file it cannot use: the default tutorial and offset and
    // no zones; it closes, and nothing was written.
    void ExpectTheDefaultsAndNoZones(const std::string& Content)
    {
        const HWND Main = StartWith(Content);
        ASSERT_TRUE(Main);
        EXPECT_EQ(ChildTexts(Main, "Edit"), std::vector<std::string>{"C:\\Program Files\\EverQuest\\Tutorial.exe"});
        EXPECT_EQ(ChildTexts(Main, "ComboBox"), std::vector<std::string>{"1669500"});
        EXPECT_EQ(RowCount(OnlyChild(Main, WC_LISTVIEWA)), 0);
        EXPECT_EQ(CloseAndWait(Program, Main), 0);
        EXPECT_TRUE(NothingLost(Before));
    }

    // Runs Row: the launcher ends, and the copy it started reports Zone.
    void ExpectRowLaunches(HWND Main, int Row, const std::string& Zone)
    {
        SelectOnly(OnlyChild(Main, WC_LISTVIEWA), Row);
        PressButton(Main, "&Run");
        EXPECT_EQ(Program.WaitForExit(), 0);
        const auto Report = WaitForStandInReport(Game.Path());
        ASSERT_TRUE(Report);
        EXPECT_EQ(Report->Zone, Zone);
    }
};

} // namespace

TEST_F(SettingsFaults, AnEmptySettingsFileOpensTheWindowWithTheDefaultsAndNoZones) { ExpectTheDefaultsAndNoZones(""); }

TEST_F(SettingsFaults, ASettingsFileOfRandomBytesOpensTheWindowWithTheDefaultsAndNoZones)
{
    ExpectTheDefaultsAndNoZones(RandomBytes(8192, 20240607));
}

TEST_F(SettingsFaults, RandomBytesInTheZonesSectionListOnlyTextsTheFileHoldsAndTheLaunchStillWorks)
{
    const std::string Content = StandardSettings("") + "First Zone=firstzone|Open\r\n" + RandomBytes(8192, 7);
    const HWND Main = StartWith(Content);
    ASSERT_TRUE(Main);
    const HWND List = OnlyChild(Main, WC_LISTVIEWA);
    ASSERT_GE(RowCount(List), 1);
    const auto Names = ColumnTexts(List, 0), Internals = ColumnTexts(List, 1);
    EXPECT_EQ(Names[0], "First Zone");
    for (std::size_t Row = 0; Row < Names.size(); ++Row) {
        EXPECT_NE(Content.find(Names[Row]), std::string::npos)
            << "row " << Row << " shows a name the file does not hold";
        EXPECT_NE(Content.find(Internals[Row]), std::string::npos) << "row " << Row;
    }
    ASSERT_NO_FATAL_FAILURE(ExpectRowLaunches(Main, 0, "firstzone"));
    EXPECT_TRUE(NothingLost(Before, StandInByProducts));
}

TEST_F(SettingsFaults, FiveThousandZonesAreAllListedInOrderAndTheLastOneLaunches)
{
    constexpr int Count = 5000;
    std::string Content = StandardSettings("");
    std::vector<std::string> Names, Internals;
    for (int I = 0; I < Count; ++I) {
        char Line[64];
        std::snprintf(Line, sizeof Line, "Zone %04d=z%04d|Status %d\r\n", I, I, I);
        Content += Line;
        Names.push_back(std::string(Line).substr(0, 9));
        Internals.push_back(std::string(Line).substr(10, 5));
    }
    const HWND Main = StartWith(Content);
    ASSERT_TRUE(Main);
    const HWND List = OnlyChild(Main, WC_LISTVIEWA);
    ASSERT_EQ(RowCount(List), Count);
    EXPECT_EQ(ColumnTexts(List, 0), Names);
    EXPECT_EQ(ColumnTexts(List, 1), Internals);
    EXPECT_EQ(SelectedRows(List), std::vector<int>{0});

    ASSERT_NO_FATAL_FAILURE(ExpectRowLaunches(Main, Count - 1, "z4999"));
    EXPECT_TRUE(NothingLost(Before, StandInByProducts));
}

TEST_F(SettingsFaults, ZoneNamesWithBytesAbove127AreShownAndWrittenByteForByte)
{
    // Every byte from 128 to 255 in some name, internal name and status. The display
    // names differ in their digits, so that no two are the same without regard to case.
    std::string Content = StandardSettings("");
    std::vector<std::string> Names, Internals, Statuses;
    for (int First = 0x80, Index = 0; First <= 0xFF; First += 12, ++Index) {
        std::string High;
        for (int B = First; B < First + 12 && B <= 0xFF; ++B)
            High += static_cast<char>(B);
        Names.push_back("Zone " + std::to_string(10 + Index) + " " + High.substr(0, 4));
        Internals.push_back(High);
        Statuses.push_back("Status " + std::string(High.rbegin(), High.rend()));
        Content += Names.back() + "=" + Internals.back() + "|" + Statuses.back() + "\r\n";
    }
    const HWND Main = StartWith(Content);
    ASSERT_TRUE(Main);
    const HWND List = OnlyChild(Main, WC_LISTVIEWA);
    EXPECT_EQ(ColumnTexts(List, 0), Names);
    EXPECT_EQ(ColumnTexts(List, 1), Internals);
    EXPECT_EQ(ColumnTexts(List, 2), Statuses);

    constexpr int Row = 5; // twelve bytes from 0xBC: letters with accents, both cases
    ASSERT_NO_FATAL_FAILURE(ExpectRowLaunches(Main, Row, Internals[Row]));
    const auto Made = Copies(Game.Path());
    ASSERT_EQ(Made.size(), 1u);
    EXPECT_EQ(ReadBytes(Game / Made[0]).substr(static_cast<std::size_t>(StandInOffset()), 12), Internals[Row]);
    EXPECT_TRUE(NothingLost(Before, StandInByProducts));
}

using StartFaults = FaultWindowTest;

TEST_F(StartFaults, AProgramPathTheSystemCannotGiveWholeMeansNoSettingsFileAndNoWindow)
{
    // The settings file lies beside the test program, and "TOL.ini" in the current
    // folder too: neither is looked up through a path the system gave cut or not at all.
    const TSettingsBesideExe Beside(StandardSettings());
    const TCurrentTestFolder Current;
    WriteBytes("TOL.ini", StandardSettings());
    const std::string Deep = "C:\\" + std::string(250, 'd') + "\\" + std::string(50, 'e') + "\\";
    for (const auto& [Path, Named] :
         {std::pair<std::string, std::string>{Deep + "TOL.exe", Deep + "TOL.ini"}, {"", "TOL.ini"}}) {
        const TDiskSnapshot Before = Record();
        const TProgramPath Module(Path);
        Watcher.Clear();
        Form = std::make_unique<TFormMain>();
        ExpectOneBox("Initialization file, \"" + Named + "\", not found.", "Error", IDI_HAND, false);
        EXPECT_TRUE(Application.Terminated) << "the window is never shown";
        EXPECT_EQ(Application.ExitCode, 1);
        EXPECT_TRUE(Rows(Form->ListViewZones).empty());
        Form.reset();
        Application.Terminated = false;
        Application.ExitCode = 0;
        EXPECT_TRUE(NothingLost(Before));
    }
}

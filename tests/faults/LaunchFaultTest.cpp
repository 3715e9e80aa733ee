// Faults met by Run on the real main window in the test's process, each ending with
// what the player sees, what remains on disk and a check that nothing of theirs was lost.
#include "FaultFixture.h"

#include <shellapi.h>

#include <algorithm>
#include <thread>

using namespace tol;
using namespace tol::test;

using LaunchFaults = FaultWindowTest;

TEST_F(LaunchFaults, AReadOnlyTutorialInAReadOnlyFolderStillGivesACopyThatTheNextStartDeletes)
{
    WriteBytes(Game / "Manual.txt", "A read-only file of the player's.");
    SetFileAttributesA((Game / "Manual.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(SetFileAttributesA(Tutorial().c_str(), FILE_ATTRIBUTE_READONLY));
    // Windows keeps a folder's read-only mark and ignores it for the files in it; Wine
    // does not keep it at all. Either way the folder still takes new files.
    SetFileAttributesA(Game.Path().c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY);
    const TDiskSnapshot Before = OpenAndRecord();

    EXPECT_TRUE(RunLaunches("ecommons"));
    const auto Made = Copies(Game.Path());
    ASSERT_EQ(Made.size(), 1u);
    EXPECT_EQ(ReadBytes(Game / Made[0]), WithZone(Original, static_cast<std::size_t>(StandInOffset()), "ecommons"));
    EXPECT_FALSE(GetFileAttributesA((Game / Made[0]).c_str()) & FILE_ATTRIBUTE_READONLY)
        << "the copy is the launcher's own, to write and to delete";

    ASSERT_TRUE(WaitUntilNotRunning(Game / Made[0]));
    Open(StandardSettings());
    EXPECT_TRUE(Copies(Game.Path()).empty()) << "the next start deletes the copy";
    EXPECT_TRUE(GetFileAttributesA(Tutorial().c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(NothingLost(Before, StandInByProducts));
    SetFileAttributesA(Game.Path().c_str(), FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(LaunchFaults, ATutorialHeldOpenByAnotherProgramCannotBeCopiedUntilItIsLetGo)
{
    const TDiskSnapshot Before = OpenAndRecord();
    {
        THeldFile Held(Tutorial());
        ASSERT_EQ(PressRun(), PumpIdle);
        const auto Twins = Copies(Temp.Path());
        ASSERT_EQ(Twins.size(), 1u) << "the unique name's empty file in the temporary folder";
        EXPECT_EQ(ReadBytes(Temp / Twins[0]), "");
        ExpectGeneralHandlerBox("Cannot open file " + Game / Twins[0] + ".");
        EXPECT_TRUE(Copies(Game.Path()).empty()) << "no copy beside the tutorial";
        EXPECT_TRUE(NothingStartedIn(Game.Path()));
    }

    // Let go, the same window launches.
    EXPECT_TRUE(RunLaunches("ecommons"));
    Form.reset(); // the shut-down clean-up empties the temporary folder of twins
    EXPECT_TRUE(Copies(Temp.Path()).empty());
    EXPECT_EQ(Copies(Game.Path()).size(), 1u);
    EXPECT_TRUE(NothingLost(Before, StandInByProducts));
}

TEST_F(LaunchFaults, ACopyStillRunningIsLeftByTheStartUpAndARunThatDrawsItsNameDrawsAnother)
{
    // The system draws the unique number from its clock; the collision with the running
    // copy's name is made certain by fixing the number for the second Run.
    constexpr unsigned RunningNumber = 0xBEEF;
    const std::string Running = Game / "TOLBEEF.EXE";
    // Once they have ended, the launcher's own copies can be deleted; the running one stays.
    const auto OwnCopiesEnded = [&] {
        const auto Names = Copies(Game.Path());
        return std::all_of(Names.begin(), Names.end(), [&](const std::string& Name) {
            return Name == "TOLBEEF.EXE" || WaitUntilNotRunning(Game / Name);
        });
    };
    for (const char* Name : {"TOL1.exe", "TOL2.EXE", "tolbee.exe"})
        WriteBytes(Game / Name, "a copy that has ended");
    TRunningCopy Copy(Running);
    Open(StandardSettings());
    EXPECT_EQ(Copies(Game.Path()), std::vector<std::string>{"TOLBEEF.EXE"})
        << "the start-up deletes the copies that have ended and leaves the running one";
    ASSERT_TRUE(Copy.Running());
    DeleteFileA((Game / "StandInReport.txt").c_str());
    const TDiskSnapshot Before = Record();

    // A Run beside it makes a copy of its own.
    EXPECT_TRUE(RunLaunches("ecommons"));
    EXPECT_EQ(Copies(Game.Path()).size(), 2u);

    // A Run whose unique name is the running copy's draws another name and launches;
    // the running copy is never touched.
    ASSERT_TRUE(OwnCopiesEnded());
    Open(StandardSettings());
    ASSERT_EQ(Copies(Game.Path()), std::vector<std::string>{"TOLBEEF.EXE"});
    {
        const TFixedUniqueNumber Fixed(RunningNumber);
        EXPECT_TRUE(RunLaunches("ecommons"));
    }
    ASSERT_EQ(Copies(Game.Path()).size(), 2u);
    EXPECT_TRUE(Copy.Running());
    EXPECT_TRUE(NothingLost(Before, StandInByProducts)) << "the running copy is as it was";
    ASSERT_TRUE(OwnCopiesEnded());

    // Once it has ended, the next start deletes it.
    Copy.End();
    Open(StandardSettings());
    EXPECT_TRUE(Copies(Game.Path()).empty());
    EXPECT_TRUE(NothingLost(Before, StandInByProducts));
}

namespace {

// The tutorial's folder under Program Files, for a player without elevation: Windows
// denies the new file (Wine ignores folder rights as root).
BOOL WINAPI CopyIntoAFolderThatTakesNone(LPCSTR, LPCSTR, BOOL)
{
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

// The system's copy, which a virus scanner then opens without sharing for HeldFor, as it
// looks at every new program.
struct TScannedCopy : TImportRedirect {
    explicit TScannedCopy(DWORD Milliseconds)
        : TImportRedirect("kernel32.dll", "CopyFileA", reinterpret_cast<void*>(&Copy))
    {
        Current = this;
        HeldFor = Milliseconds;
    }
    ~TScannedCopy()
    {
        if (Scanner.joinable())
            Scanner.join();
    }
    static BOOL WINAPI Copy(LPCSTR From, LPCSTR To, BOOL FailIfExists)
    {
        if (!Current->System<decltype(CopyFileA)>()(From, To, FailIfExists))
            return FALSE;
        const HANDLE File = CreateFileA(To, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        Current->Scanner = std::thread([File] {
            Sleep(HeldFor);
            CloseHandle(File);
        });
        return TRUE;
    }
    static inline TScannedCopy* Current = nullptr;
    static inline DWORD HeldFor = 0;
    std::thread Scanner;
};

} // namespace

TEST_F(LaunchFaults, AFolderThatTakesNoNewFileIsNamedAndRunMakesNothing)
{
    Open(StandardSettings());
    const TImportRedirect Denied("kernel32.dll", "CopyFileA", reinterpret_cast<void*>(&CopyIntoAFolderThatTakesNone));
    std::string Folder = Game.Path();
    Folder.pop_back();
    ExpectEachRefused(Form->EditTutorial, {Tutorial()}, [&](auto&) {
        return "Cannot write in \"" + Folder
               + "\". Start Tolvane as administrator, or keep the game in a folder you may write to.";
    });
}

TEST_F(LaunchFaults, ANewCopyAScannerHoldsIsWaitedForUntilTwoSecondsHavePassed)
{
    const TDiskSnapshot Before = OpenAndRecord();
    {
        // Held past the wait: reported as any copy that cannot be opened, the window open.
        const TScannedCopy Scanned(3000);
        ASSERT_EQ(PressRun(), PumpIdle);
        const auto Made = Copies(Game.Path());
        ASSERT_EQ(Made.size(), 1u);
        ExpectGeneralHandlerBox("Cannot open file " + Game / Made[0] + ".");
        EXPECT_TRUE(NothingStartedIn(Game.Path()));
        Watcher.Clear();
    }
    Open(StandardSettings());
    EXPECT_TRUE(Copies(Game.Path()).empty()) << "the next start deletes the unpatched copy";
    {
        // Held for half a second: the Run works.
        const TScannedCopy Scanned(500);
        EXPECT_TRUE(RunLaunches("ecommons"));
    }
    WaitUntilCopiesCanGo(Game.Path());
    EXPECT_TRUE(NothingLost(Before, StandInByProducts));
}

TEST_F(LaunchFaults, WithoutATemporaryFolderRunReportsAnInputOutputErrorAndMakesNothing)
{
    const std::string Missing = Temp / "missing\\";
    const TScopedEnvironment NoTmp("TMP", Missing), NoTemp("TEMP", Missing);
    // Where the test program's own scratch folders live: the system must not fall back on it.
    const std::string Parent = Temp.Path().substr(0, Temp.Path().find_last_of('\\', Temp.Path().size() - 2) + 1);
    const auto ParentCopies = Copies(Parent);
    Open(StandardSettings());
    EXPECT_TRUE(Watcher.Boxes().empty()) << "the start-up's clean-up of a missing folder is silent";
    const TDiskSnapshot Before = Record();

    ASSERT_EQ(PressRun(), PumpIdle);
    ExpectGeneralHandlerBox("I/O error 267.");

    Watcher.Clear();
    Form.reset();
    EXPECT_TRUE(Watcher.Boxes().empty()) << "the shut-down's clean-up is silent too";
    EXPECT_FALSE(Exists(Missing));
    EXPECT_TRUE(Copies(Game.Path()).empty());
    EXPECT_EQ(Copies(Parent), ParentCopies);
    EXPECT_TRUE(NothingLost(Before));
}

TEST_F(LaunchFaults, AnOffsetOutsideTheIntegerRangeIsRefusedBeforeAnythingIsMade)
{
    Open(StandardSettings());
    ExpectEachRefused(Form->ComboBoxOffset, {"2147483648", "-2147483649", "$100000000", "99999999999999999999"},
                      [](auto&) { return "Invalid Offset.  Offset must be numeric."; });
}

TEST_F(LaunchFaults, AFieldPastTheEndIsRefusedAndOneInTheLastTwelveBytesLaunchesACopyOfTheSameSize)
{
    const TDiskSnapshot Before = OpenAndRecord();
    const auto Size = [&](long Plus) { return std::to_string(static_cast<long>(Original.size()) + Plus); };
    const auto PastTheEnd = [](auto&) { return "Invalid Offset.  Offset must lie within the tutorial program."; };
    ASSERT_NO_FATAL_FAILURE(
        ExpectEachRefused(Form->ComboBoxOffset, {Size(-11), Size(0), Size(1000), "$7FFFFFFF"}, PastTheEnd));

    SetWindowTextA(Form->ComboBoxOffset, Size(-12).c_str());
    EXPECT_TRUE(RunLaunches("tutorialb")) << "the stand-in's own field is untouched";
    const auto Made = Copies(Game.Path());
    ASSERT_EQ(Made.size(), 1u);
    EXPECT_EQ(ReadBytes(Game / Made[0]), WithZone(Original, Original.size() - 12, "ecommons"));
    ASSERT_TRUE(WaitUntilNotRunning(Game / Made[0]));
    Open(StandardSettings());
    EXPECT_TRUE(Copies(Game.Path()).empty());
    EXPECT_TRUE(NothingLost(Before, StandInByProducts));
}

TEST_F(LaunchFaults, AZoneWithoutAnInternalNameIsRefusedBeforeAnythingIsMade)
{
    // The first "|" before the "=" leaves the internal name empty too.
    Open(StandardSettings("Status Only=|status\r\nBars Only=|\r\nPipe|Name=x|y\r\nGood=ecommons\r\n"));
    ASSERT_EQ(RowCount(Form->ListViewZones), 4);
    ExpectEachRefused(
        std::vector{0, 1, 2}, [&](int Row) { SelectOnly(Form->ListViewZones, Row); },
        [](int) { return "The selected zone has no internal name."; }, Form->ListViewZones);
}

TEST_F(LaunchFaults, WhileTheShellStartsACopyAndShowsItsOwnBoxTheWindowTakesNoInput)
{
    // The zone written over the copy's first bytes: it is no program, and the shell says
    // so in a box of its own before the launcher's warning.
    const TDiskSnapshot Before = OpenAndRecord();
    std::vector<BOOL> MainEnabled;
    Watcher.SetAction([&](const TBox& Box) {
        MainEnabled.push_back(IsWindowEnabled(Main()));
        PressEnter(Box);
    });
    SetWindowTextA(Form->ComboBoxOffset, "0");
    EXPECT_EQ(PressRun(), Application.ExitCode) << "the launcher's work is done: it ends";
    const auto Boxes = Watcher.Boxes();
    ASSERT_EQ(Boxes.size(), 2u) << "the shell's box, then the launcher's warning";
    EXPECT_EQ(MainEnabled, std::vector<BOOL>(2, FALSE)) << "no Run can be pressed behind a box";
    for (const auto& Box : Boxes)
        EXPECT_EQ(Box.Owner, Main()) << Box.Caption;
    const auto Made = Copies(Game.Path());
    ASSERT_EQ(Made.size(), 1u);
    ExpectCannotStart(Boxes, Game / Made[0]);
    EXPECT_TRUE(NothingStartedIn(Game.Path()));
    EXPECT_TRUE(NothingLost(Before));
}

TEST_F(LaunchFaults, AStartWhoseReasonTheShellLostSaysSoTruly)
{
    const TDiskSnapshot Before = OpenAndRecord();
    const TFailingShell Shell;
    for (const auto& Case : LostReasons()) {
        Shell.Result = Case.Result;
        EXPECT_EQ(PressRun(), Application.ExitCode) << Case.Result;
        const auto Made = Copies(Game.Path());
        ASSERT_EQ(Made.size(), 1u);
        ExpectOneBox("Unable to open file \"" + Game / Made[0] + "\".  " + Case.Reason, "Warning", IDI_EXCLAMATION,
                     false);
        EXPECT_EQ(Shell.Owner, Main()) << "the shell's boxes belong to the window";
        EXPECT_FALSE(Shell.OwnerEnabled) << "the window takes no input while the shell starts the copy";
        WaitUntilCopiesCanGo(Game.Path());
        Open(StandardSettings());
    }
    EXPECT_TRUE(NothingLost(Before));
}

TEST_F(LaunchFaults, AValueWithBlanksAroundItIsWrittenWithoutThemWhereverTheSectionKeepsThem)
{
    // A settings service that keeps the blanks of a line as written: the zone's value is
    // read as a single key's value is, blanks trimmed, and no blank reaches the copy.
    const TImportRedirect Section("kernel32.dll", "GetPrivateProfileSectionA",
                                  reinterpret_cast<void*>(&GetSectionKeepingBlanks));
    Open(StandardSettings("North Qeynos=  qeynos2x   \r\nTabbed=\tfearplane|Dangerous\t\r\n"));
    EXPECT_EQ(Rows(Form->ListViewZones),
              (std::vector<std::string>{"North Qeynos|qeynos2x|", "Tabbed|fearplane|Dangerous"}));
    const TDiskSnapshot Before = Record();
    EXPECT_TRUE(RunLaunches("qeynos2x"));
    const auto Made = Copies(Game.Path());
    ASSERT_EQ(Made.size(), 1u);
    EXPECT_EQ(ReadBytes(Game / Made[0]), WithZone(Original, static_cast<std::size_t>(StandInOffset()), "qeynos2x"));
    EXPECT_TRUE(NothingLost(Before, StandInByProducts));
}

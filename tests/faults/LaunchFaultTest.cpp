// Faults met by Run, on the real main window in the test's process: a read-only
// tutorial and folder, a tutorial held open by another program, a copy of the same
// name still running, no temporary folder, an offset outside the integer range and
// one at the end of the file. Each ends with what the player sees, what remains on
// disk, and a check that nothing of the player's was lost.
#include "Application.h"
#include "FaultFixture.h"

using namespace tol;
using namespace tol::test;

using LaunchFaults = FaultWindowTest;

TEST_F(LaunchFaults, AReadOnlyTutorialInAReadOnlyFolderStillGivesACopyThatTheNextStartDeletes)
{
    const std::string Offset = std::to_string(StandInOffset());
    WriteBytes(Game / "Manual.txt", "A read-only file of the player's.");
    SetFileAttributesA((Game / "Manual.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(SetFileAttributesA(Tutorial().c_str(), FILE_ATTRIBUTE_READONLY));
    // Windows keeps a folder's read-only mark and ignores it for the files in it; Wine
    // does not keep it at all. Either way the folder still takes new files.
    SetFileAttributesA(Game.Path().c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY);
    Open(SettingsFor(Tutorial(), Offset));
    const TDiskSnapshot Before = Record();

    EXPECT_EQ(PressRun(), Application.ExitCode) << "the launch ends the program";
    EXPECT_TRUE(Watcher.Boxes().empty());
    EXPECT_EQ(StartedZone(Game.Path()), "qeynos2x");
    const auto Made = CopiesIn(Game.Path());
    ASSERT_EQ(Made.size(), 1u);
    EXPECT_EQ(ReadBytes(Game / Made[0]), WithZone(Original, static_cast<std::size_t>(StandInOffset()), "qeynos2x"));
    EXPECT_FALSE(GetFileAttributesA((Game / Made[0]).c_str()) & FILE_ATTRIBUTE_READONLY)
        << "the copy is the launcher's own, to write and to delete";

    ASSERT_TRUE(WaitUntilNotRunning(Game / Made[0]));
    Open(SettingsFor(Tutorial(), Offset));
    EXPECT_TRUE(CopiesIn(Game.Path()).empty()) << "the next start deletes the copy";
    EXPECT_TRUE(GetFileAttributesA(Tutorial().c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(NothingLost(Before, StandInByProducts));
    SetFileAttributesA(Game.Path().c_str(), FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(LaunchFaults, ATutorialHeldOpenByAnotherProgramCannotBeCopiedUntilItIsLetGo)
{
    Open(StandardSettings());
    const TDiskSnapshot Before = Record();
    {
        THeldFile Held(Tutorial());
        ASSERT_EQ(PressRun(), PumpIdle);
        const auto Twins = CopiesIn(Temp.Path());
        ASSERT_EQ(Twins.size(), 1u) << "the unique name's empty file in the temporary folder";
        EXPECT_EQ(ReadBytes(Temp / Twins[0]), "");
        ExpectGeneralHandlerBox("Cannot open file " + Game / Twins[0] + ".");
        EXPECT_TRUE(CopiesIn(Game.Path()).empty()) << "no copy beside the tutorial";
        EXPECT_FALSE(Exists(Game / "StandInReport.txt")) << "nothing was started";
    }

    // Let go, the same window launches.
    EXPECT_EQ(PressRun(), Application.ExitCode);
    EXPECT_TRUE(Watcher.Boxes().empty());
    EXPECT_EQ(StartedZone(Game.Path()), "ecommons");
    Form.reset(); // the shut-down clean-up empties the temporary folder of twins
    EXPECT_TRUE(CopiesIn(Temp.Path()).empty());
    EXPECT_EQ(CopiesIn(Game.Path()).size(), 1u);
    EXPECT_TRUE(NothingLost(Before, StandInByProducts));
}

TEST_F(LaunchFaults, ACopyStillRunningIsLeftByTheStartUpAndNeverOverwrittenByARun)
{
    // The system draws the unique number from its clock; the collision with the running
    // copy's name is made certain by fixing the number for the second Run.
    constexpr unsigned RunningNumber = 0xBEEF;
    const std::string Running = Game / "TOLBEEF.EXE";
    for (const char* Name : {"TOL1.exe", "TOL2.EXE", "tolbee.exe"})
        WriteBytes(Game / Name, "a copy that has ended");
    TRunningCopy Copy(Running);
    Open(StandardSettings());
    EXPECT_EQ(CopiesIn(Game.Path()), std::vector<std::string>{"TOLBEEF.EXE"})
        << "the start-up deletes the copies that have ended and leaves the running one";
    ASSERT_TRUE(Copy.Running());
    DeleteFileA((Game / "StandInReport.txt").c_str());
    const TDiskSnapshot Before = Record();

    // A Run beside it makes a copy of its own.
    EXPECT_EQ(PressRun(), Application.ExitCode);
    EXPECT_TRUE(Watcher.Boxes().empty());
    EXPECT_EQ(StartedZone(Game.Path()), "ecommons");
    EXPECT_EQ(CopiesIn(Game.Path()).size(), 2u);

    // A Run whose unique name is the running copy's: the copy cannot be replaced, the
    // Run says so and the window stays open.
    for (const auto& Name : CopiesIn(Game.Path())) {
        if (Name != "TOLBEEF.EXE") {
            ASSERT_TRUE(WaitUntilNotRunning(Game / Name));
        }
    }
    Open(StandardSettings());
    ASSERT_EQ(CopiesIn(Game.Path()), std::vector<std::string>{"TOLBEEF.EXE"});
    {
        TFixedUniqueNumber Fixed(RunningNumber);
        ASSERT_EQ(PressRun(), PumpIdle);
    }
    const auto Twins = CopiesIn(Temp.Path());
    ASSERT_EQ(Twins.size(), 1u);
    EXPECT_EQ(lstrcmpiA(Twins[0].c_str(), "TOLBEEF.EXE"), 0) << Twins[0];
    ExpectGeneralHandlerBox("Cannot open file " + Game / Twins[0] + ".");
    EXPECT_TRUE(Copy.Running());
    EXPECT_EQ(CopiesIn(Game.Path()), std::vector<std::string>{"TOLBEEF.EXE"});
    EXPECT_TRUE(NothingLost(Before, StandInByProducts)) << "the running copy is as it was";

    // Once it has ended, the next start deletes it.
    Copy.End();
    Open(StandardSettings());
    EXPECT_TRUE(CopiesIn(Game.Path()).empty());
    EXPECT_TRUE(NothingLost(Before, StandInByProducts));
}

TEST_F(LaunchFaults, WithoutATemporaryFolderRunReportsAnInputOutputErrorAndMakesNothing)
{
    const std::string Missing = Temp / "missing\\";
    const TScopedEnvironment NoTmp("TMP", Missing), NoTemp("TEMP", Missing);
    // Where the test program's own scratch folders live: the system must not fall back on it.
    const std::string Parent = Temp.Path().substr(0, Temp.Path().find_last_of('\\', Temp.Path().size() - 2) + 1);
    const auto ParentCopies = CopiesIn(Parent);
    Open(StandardSettings());
    EXPECT_TRUE(Watcher.Boxes().empty()) << "the start-up's clean-up of a missing folder is silent";
    const TDiskSnapshot Before = Record();

    ASSERT_EQ(PressRun(), PumpIdle);
    ExpectGeneralHandlerBox("I/O error 267.");

    Watcher.Clear();
    Form.reset();
    EXPECT_TRUE(Watcher.Boxes().empty()) << "the shut-down's clean-up is silent too";
    EXPECT_FALSE(Exists(Missing));
    EXPECT_TRUE(CopiesIn(Game.Path()).empty());
    EXPECT_EQ(CopiesIn(Parent), ParentCopies);
    EXPECT_TRUE(NothingLost(Before));
}

TEST_F(LaunchFaults, AnOffsetOutsideTheIntegerRangeIsRefusedBeforeAnythingIsMade)
{
    Open(StandardSettings());
    const TDiskSnapshot Before = Record();
    for (const char* Offset : {"2147483648", "-2147483649", "$100000000", "99999999999999999999"}) {
        SetWindowTextA(Form->ComboBoxOffset, Offset);
        ASSERT_EQ(PressRun(), PumpIdle);
        ExpectWarningBox("Invalid Offset.  Offset must be numeric.");
        EXPECT_TRUE(FocusIn(Form->ComboBoxOffset)) << Offset;
    }
    EXPECT_TRUE(CopiesIn(Game.Path()).empty());
    EXPECT_TRUE(CopiesIn(Temp.Path()).empty());
    EXPECT_TRUE(NothingLost(Before));
}

TEST_F(LaunchFaults, AnOffsetAtTheEndLengthensTheCopyAndTheCopyStillStarts)
{
    Open(StandardSettings());
    const TDiskSnapshot Before = Record();
    SetWindowTextA(Form->ComboBoxOffset, std::to_string(Original.size()).c_str());
    EXPECT_EQ(PressRun(), Application.ExitCode);
    EXPECT_TRUE(Watcher.Boxes().empty());
    EXPECT_EQ(StartedZone(Game.Path()), "tutorialb") << "the stand-in's own field is untouched";
    const auto Made = CopiesIn(Game.Path());
    ASSERT_EQ(Made.size(), 1u);
    EXPECT_EQ(ReadBytes(Game / Made[0]), Original + std::string("ecommons\0\0\0\0", 12));
    ASSERT_TRUE(WaitUntilNotRunning(Game / Made[0]));
    Open(StandardSettings());
    EXPECT_TRUE(CopiesIn(Game.Path()).empty());
    EXPECT_TRUE(NothingLost(Before, StandInByProducts));
}

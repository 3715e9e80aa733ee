// Copies the real TOL.exe makes but cannot start or patch, and offsets that leave the
// zone no room, refused before anything is made.
#include "FaultFixture.h"

using namespace tol;
using namespace tol::test;

namespace {

class CopyFaults : public FaultProgramTest {
protected:
    // Run with Offset says that the zone has no room in the tutorial program, the
    // window stays open, nothing is made, and the program closes as usual.
    void ExpectOffsetRefused(const std::string& Offset)
    {
        const HWND Main = StartWith(StandardSettings());
        ASSERT_TRUE(Main);
        TypeOffsetAndRun(Main, Offset);
        const HWND Box = WaitForTopWindow({"#32770", "Warning", Program.Id()});
        ASSERT_TRUE(Box);
        EXPECT_TRUE(ChildWithText(Box, "Static", "Invalid Offset.  Offset must lie within the tutorial program."))
            << testing::PrintToString(ChildTexts(Box, "Static"));
        PressKeyIn(Box, VK_RETURN);
        EXPECT_TRUE(Copies(Game.Path()).empty());
        EXPECT_TRUE(Copies(Temp.Path()).empty());
        EXPECT_EQ(CloseAndWait(Program, Main), 0) << "the window stayed open";
        EXPECT_TRUE(NothingLost(Before));
    }
};

} // namespace

TEST_F(CopyFaults, AnEmptyTutorialHasNoRoomForTheZoneAndRunRefusesItBeforeAnythingIsMade)
{
    WriteBytes(Tutorial(), "");
    ExpectOffsetRefused(std::to_string(StandInOffset()));
}

TEST_F(CopyFaults, MinusAndPlusZeroWriteTheZoneOverTheCopysFirstBytesAndTheCopyCannotStart)
{
    WriteBytes(Settings(), StandardSettings());
    Before = Record();
    for (const char* Offset : {"-0", "+0"}) {
        Program = Launch();
        const HWND Main = MainWindowOf(Program);
        ASSERT_TRUE(Main) << Offset;
        EXPECT_TRUE(Copies(Game.Path()).empty()) << "the start deletes the copy of the run before";
        TBoxWatcher Watcher(Program.Id()); // answers each box with Enter, as a player would
        TypeOffsetAndRun(Main, Offset);
        const long ExitCode = Program.WaitForExit(60s);
        const auto Boxes = Watcher.Boxes();
        EXPECT_EQ(ExitCode, 0) << Offset;
        const auto Made = Copies(Game.Path());
        ASSERT_EQ(Made.size(), 1u) << Offset;
        EXPECT_EQ(ReadBytes(Game / Made[0]), WithZone(Original, 0, "ecommons")) << Offset;
        ExpectCannotStart(Boxes, Game / Made[0]);
        EXPECT_TRUE(NothingStartedIn(Game.Path())) << Offset;
    }
    // The next start deletes the copy of the last run, and closes as usual.
    Program = Launch();
    const HWND Next = MainWindowOf(Program);
    ASSERT_TRUE(Next);
    EXPECT_TRUE(Copies(Game.Path()).empty()) << "the next start deletes the copy of the last run";
    EXPECT_EQ(CloseAndWait(Program, Next), 0);
    EXPECT_TRUE(NothingLost(Before));
}

TEST_F(CopyFaults, AnOffsetTwoGigabytesInIsRefusedBeforeAnythingIsMadeNorWritten)
{
    // Written, it would make a 2 GiB file in the game's folder and start it unpatched.
    ExpectOffsetRefused("$7FFFFFFF");
}

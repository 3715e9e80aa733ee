// Copies that the real TOL.exe would make but that cannot start or patch: the zone
// written over the program's first bytes ("-0", "+0"), where the launcher ends as after
// any launch, says why the copy did not start, and its next start deletes the copy;
// and an empty tutorial program or an offset 2 GiB in, refused before anything is made.
#include "FaultFixture.h"

#include <algorithm>

using namespace tol;
using namespace tol::test;

namespace {

class CopyFaults : public FaultProgramTest {
protected:
    // Run with Offset says that the zone has no room in the tutorial program, the
    // window stays open, nothing is made, and the program closes as usual.
    void ExpectOffsetRefused(const std::string& Offset)
    {
        const HWND Main = StartWith(SettingsFor(Tutorial(), std::to_string(StandInOffset())));
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

// The boxes of a launch whose copy could not start: the system's own first, if it
// shows one, then the launcher's one warning, naming the copy and giving the system's
// reason, with the copy named where the reason has a place for it.
void ExpectCannotStart(const std::vector<TBox>& Boxes, const std::string& Copy)
{
    ASSERT_FALSE(Boxes.empty()) << "no box said that the copy did not start";
    EXPECT_EQ(std::count_if(Boxes.begin(), Boxes.end(), [](const TBox& Box) { return Box.Caption == "Warning"; }), 1);
    const TBox& Warning = Boxes.back();
    EXPECT_EQ(Warning.Caption, "Warning");
    const std::string Start = "Unable to open file \"" + Copy + "\".  ";
    const TControl* Text = Warning.FindIf("Static",
                                          [&](const TControl& Line) { return Line.Text.rfind(Start, 0) == 0; });
    ASSERT_TRUE(Text) << testing::PrintToString(Warning.Texts("Static"));
    const std::string Reason = Text->Text.substr(Start.size());
    EXPECT_FALSE(Reason.empty());
    EXPECT_EQ(Reason.find("%1"), std::string::npos) << "a bare placeholder: " << Reason;
    EXPECT_NE(Reason.find(Copy), std::string::npos) << "the reason names the copy: " << Reason;
    EXPECT_EQ(Reason.find("success"), std::string::npos) << Reason;
}

} // namespace

TEST_F(CopyFaults, AnEmptyTutorialHasNoRoomForTheZoneAndRunRefusesItBeforeAnythingIsMade)
{
    WriteBytes(Tutorial(), "");
    ExpectOffsetRefused(std::to_string(StandInOffset()));
}

TEST_F(CopyFaults, MinusAndPlusZeroWriteTheZoneOverTheCopysFirstBytesAndTheCopyCannotStart)
{
    WriteBytes(Settings(), SettingsFor(Tutorial(), std::to_string(StandInOffset())));
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

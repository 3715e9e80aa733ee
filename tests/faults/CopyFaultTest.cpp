// Copies that the real TOL.exe makes but that cannot start, or that grow huge: an empty
// tutorial program, the zone written over the program's first bytes ("-0", "+0"), and
// an offset 2 GiB in ("$7FFFFFFF"). The launcher ends as after any launch, says why a
// copy did not start, and its next start deletes the copy.
#include "FaultFixture.h"

#include <algorithm>

using namespace tol;
using namespace tol::test;

namespace {

class CopyFaults : public FaultProgramTest {
protected:
    // Starts the program again: that start deletes the launcher's copies (What says
    // which, in a failure), and the program then closes as usual.
    void ExpectTheNextStartDeletesTheCopies(std::unique_ptr<TProgram>& Program, const char* What)
    {
        const HWND Next = Start(Program);
        ASSERT_TRUE(Next);
        EXPECT_TRUE(CopiesIn(Game.Path()).empty()) << What;
        EXPECT_EQ(CloseAndWait(*Program, Next), 0);
    }
};

// The boxes of a launch whose copy could not start: the system's own first, if it
// shows one, then the launcher's one warning, naming the copy and giving the system's
// reason, with the copy named where the reason has a place for it.
void ExpectCannotStart(const std::vector<TSeenBox>& Boxes, const std::string& Copy)
{
    ASSERT_FALSE(Boxes.empty()) << "no box said that the copy did not start";
    EXPECT_EQ(std::count_if(Boxes.begin(), Boxes.end(), [](const TSeenBox& Box) { return Box.Caption == "Warning"; }), 1);
    const TSeenBox& Warning = Boxes.back();
    EXPECT_EQ(Warning.Caption, "Warning");
    const std::string Start = "Unable to open file \"" + Copy + "\".  ";
    const auto Text = std::find_if(Warning.Texts.begin(), Warning.Texts.end(),
                                   [&](const std::string& Line) { return Line.rfind(Start, 0) == 0; });
    ASSERT_NE(Text, Warning.Texts.end()) << testing::PrintToString(Warning.Texts);
    const std::string Reason = Text->substr(Start.size());
    EXPECT_FALSE(Reason.empty());
    EXPECT_EQ(Reason.find("%1"), std::string::npos) << "a bare placeholder: " << Reason;
    EXPECT_NE(Reason.find(Copy), std::string::npos) << "the reason names the copy: " << Reason;
    EXPECT_EQ(Reason.find("success"), std::string::npos) << Reason;
}

} // namespace

TEST_F(CopyFaults, AnEmptyTutorialGivesACopyThatCannotStartAWarningSaysWhyAndTheNextStartDeletesIt)
{
    const long Offset = StandInOffset();
    WriteBytes(Tutorial(), "");
    WriteBytes(Settings(), SettingsFor(Tutorial(), std::to_string(Offset)));
    const TDiskSnapshot Before = Record();
    std::unique_ptr<TProgram> Program;
    const HWND Main = Start(Program);
    ASSERT_TRUE(Main);
    PostMessageA(ChildWithText(Main, "Button", "&Run"), BM_CLICK, 0, 0);
    long ExitCode = 0;
    const auto Boxes = AnswerBoxesUntilExit(*Program, ExitCode);
    EXPECT_EQ(ExitCode, 0) << "the launcher's work is done: it ends";
    const auto Made = CopiesIn(Game.Path());
    ASSERT_EQ(Made.size(), 1u);
    EXPECT_EQ(ReadBytes(Game / Made[0]), WithZone("", static_cast<std::size_t>(Offset), "qeynos2x"));
    ExpectCannotStart(Boxes, Game / Made[0]);
    EXPECT_FALSE(Exists(Game / "StandInReport.txt"));

    ASSERT_NO_FATAL_FAILURE(ExpectTheNextStartDeletesTheCopies(Program, "the next start deletes the copy"));
    EXPECT_TRUE(NothingLost(Before));
}

TEST_F(CopyFaults, MinusAndPlusZeroWriteTheZoneOverTheCopysFirstBytesAndTheCopyCannotStart)
{
    WriteBytes(Settings(), SettingsFor(Tutorial(), std::to_string(StandInOffset())));
    const std::string Original = ReadBytes(Tutorial());
    const TDiskSnapshot Before = Record();
    std::unique_ptr<TProgram> Program;
    for (const char* Offset : {"-0", "+0"}) {
        const HWND Main = Start(Program);
        ASSERT_TRUE(Main) << Offset;
        EXPECT_TRUE(CopiesIn(Game.Path()).empty()) << "the start deletes the copy of the run before";
        TypeOffsetAndRun(Main, Offset);
        long ExitCode = 0;
        const auto Boxes = AnswerBoxesUntilExit(*Program, ExitCode);
        EXPECT_EQ(ExitCode, 0) << Offset;
        const auto Made = CopiesIn(Game.Path());
        ASSERT_EQ(Made.size(), 1u) << Offset;
        EXPECT_EQ(ReadBytes(Game / Made[0]), WithZone(Original, 0, "qeynos2x")) << Offset;
        ExpectCannotStart(Boxes, Game / Made[0]);
        EXPECT_FALSE(Exists(Game / "StandInReport.txt")) << Offset;
    }
    ASSERT_NO_FATAL_FAILURE(ExpectTheNextStartDeletesTheCopies(Program, "the next start deletes the copy of the last run"));
    EXPECT_TRUE(NothingLost(Before));
}

TEST_F(CopyFaults, AnOffsetFarPastTheEndMakesATwoGigabyteCopyOfTheLaunchersOwnThatTheNextStartDeletes)
{
    WriteBytes(Settings(), SettingsFor(Tutorial(), std::to_string(StandInOffset())));
    const std::string Original = ReadBytes(Tutorial());
    const TDiskSnapshot Before = Record();
    std::unique_ptr<TProgram> Program;
    const HWND Main = Start(Program);
    ASSERT_TRUE(Main);
    TypeOffsetAndRun(Main, "$7FFFFFFF");
    long ExitCode = 0;
    const auto Boxes = AnswerBoxesUntilExit(*Program, ExitCode);
    EXPECT_EQ(ExitCode, 0);
    const auto Made = CopiesIn(Game.Path());
    ASSERT_EQ(Made.size(), 1u);
    const std::string Copy = Game / Made[0];

    // The file system takes the write: the copy is the tutorial, a hole, and the zone
    // 2 GiB in. (Only its ends are read: the test runs as a 32-bit program.)
    const HANDLE File = CreateFileA(Copy.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(File, INVALID_HANDLE_VALUE);
    LARGE_INTEGER Size{};
    GetFileSizeEx(File, &Size);
    EXPECT_EQ(Size.QuadPart, 0x7FFFFFFFLL + 12);
    std::string Head(Original.size(), '\0'), Tail(12, '\0');
    DWORD Read = 0;
    ReadFile(File, Head.data(), static_cast<DWORD>(Head.size()), &Read, nullptr);
    LARGE_INTEGER At{};
    At.QuadPart = 0x7FFFFFFF;
    SetFilePointerEx(File, At, nullptr, FILE_BEGIN);
    ReadFile(File, Tail.data(), 12, &Read, nullptr);
    CloseHandle(File);
    EXPECT_EQ(Head, Original);
    EXPECT_EQ(Tail, std::string("qeynos2x\0\0\0\0", 12));

    // Its program part is whole, and the system starts it: the stand-in finds its own
    // field untouched.
    EXPECT_TRUE(Boxes.empty()) << Boxes.size() << " boxes, the first: " << Boxes[0].Caption;
    ASSERT_TRUE(WaitForFile(Game / "StandInReport.txt", std::chrono::seconds(30)));
    EXPECT_EQ(ReadStandInReport(Game.Path()).Zone, "tutorialb");

    ASSERT_TRUE(WaitUntilNotRunning(Copy));
    ASSERT_NO_FATAL_FAILURE(ExpectTheNextStartDeletesTheCopies(Program, "the next start deletes the big copy"));
    EXPECT_TRUE(NothingLost(Before, StandInByProducts));
}

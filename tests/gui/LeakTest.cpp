// Two hundred refused or failed Runs in one process, through every way a Run can end
// with the window still open, leave no window, GDI object, icon, image list, file,
// search or kernel handle behind.
#include "LiveCounts.h"
#include "MainWindowFixture.h"

using namespace tol;
using namespace tol::test;

TEST_F(MainWindowTest, TwoHundredFailingRunsLeaveNothingBehind)
{
    Open(StandardSettings());
    const std::string Offset = std::to_string(StandInOffset());

    // A tutorial program held open without sharing cannot be copied: the general
    // handler reports it.
    WriteBytes(Game / "Locked.exe", Original);
    const TFileHandle Lock(
        CreateFileA((Game / "Locked.exe").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(Lock.Valid());

    struct TPath {
        std::string Tutorial, Offset;
        int Row;
        bool TemporaryFolderMissing;
        std::string Caption;
    };
    const TPath Paths[] = {
        {Game / "Missing.exe", Offset, 0, false, "Warning"},
        {Tutorial(), "16695OO", 0, false, "Warning"},
        {Tutorial(), "-1", 0, false, "Warning"},
        {Tutorial(), Offset, -1, false, "Warning"},
        {Game / "Locked.exe", Offset, 0, false, "Tolvane"},
        {Tutorial(), Offset, 0, true, "Tolvane"},
    };
    const auto FailingRun = [&](const TPath& Path) {
        std::optional<TScopedEnvironment> NoTemporaryFolder;
        if (Path.TemporaryFolderMissing)
            NoTemporaryFolder.emplace("TMP", Temp / "missing\\");
        SetWindowTextA(Form->EditTutorial, Path.Tutorial.c_str());
        SetWindowTextA(Form->ComboBoxOffset, Path.Offset.c_str());
        SelectOnly(Form->ListViewZones, Path.Row);
        const int Ended = PressRun();
        const auto Boxes = Watcher.Boxes();
        return Ended == PumpIdle && Boxes.size() == 1 && Boxes[0].Caption == Path.Caption && IsWindowVisible(Main());
    };

    // The first round may load what the system then keeps.
    for (const auto& Path : Paths)
        ASSERT_TRUE(FailingRun(Path)) << Path.Tutorial << " / " << Path.Offset;
    const TLiveCounts Base = LiveCounts();
    ASSERT_GT(Base.KernelHandles, 0) << "the kernel handle count must see the handles there are";
    {
        const TKernelHandle Probe(CreateEventA(nullptr, FALSE, FALSE, nullptr));
        EXPECT_EQ(OpenKernelHandles(), Base.KernelHandles + 1) << "one more handle is one more counted";
    }

    int Failed = 0;
    for (int I = 0; I < 200; ++I)
        if (!FailingRun(Paths[I % std::size(Paths)]))
            ++Failed;
    EXPECT_EQ(Failed, 0) << "Runs that did not end in their one box with the window open";

    EXPECT_EQ(LiveCounts(), Base);
    EXPECT_TRUE(Copies(Game.Path()).empty());
}

// A start the shell refuses is the one failure after which the window closes, so it is
// run here without one: each leaves its patched copy, and nothing else.
TEST(LaunchLeaks, FailedStartsLeaveNothingBehind)
{
    TTestFolder Game{"game"}, Temp{"tmp"};
    TScopedEnvironment Tmp{"TMP", Temp.Path()};
    TMessageRecorder Recorder;
    const TBoxWatcher ShellBoxes; // answers the shell's own box
    WriteBytes(Game / "Tutorial.exe", "not a program at all");
    TRunHost Host{Game / "Tutorial.exe", "0", "qeynos2x"};

    RunZone(Host); // the first start may load what the shell then keeps
    const TLiveCounts Base = LiveCounts();
    for (int I = 0; I < 50; ++I)
        RunZone(Host);
    EXPECT_EQ(LiveCounts(), Base);

    ASSERT_EQ(Recorder.Messages.size(), 51u);
    for (const auto& Message : Recorder.Messages)
        EXPECT_EQ(Message.Text.rfind("Unable to open file \"" + Game.Path() + "TOL", 0), 0u) << Message.Text;
    EXPECT_EQ(Host.Requests, std::vector<std::string>(51, "close"));
}

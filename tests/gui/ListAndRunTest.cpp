// The main window's zone list as a player uses it (selection, type-ahead, sorting
// that is not there), and Run from the window: its refusals, its warning's layout and
// a launch that ends the program.
#include "MainWindowFixture.h"

#include <cstdlib>

using namespace tol;
using namespace tol::test;

TEST_F(MainWindowTest, TheListSelectsWholeRowsOneAtATimeAndLaunchesNothing)
{
    Open(StandardSettings());
    const HWND List = Form->ListViewZones;
    const LONG Style = StyleOf(List);
    EXPECT_TRUE(Style & LVS_SHOWSELALWAYS) << "the selection shows while the list has no focus";
    EXPECT_FALSE(Style & (LVS_SORTASCENDING | LVS_SORTDESCENDING));

    ASSERT_EQ(Click(List, Centre(ItemRect(List, 2, 2))), PumpIdle);
    EXPECT_EQ(SelectedRows(List), std::vector<int>{2}) << "a click on the status selects the whole row";

    ASSERT_EQ(Click(List, Centre(ItemRect(List, 0, 0)), MK_CONTROL), PumpIdle);
    EXPECT_EQ(SelectedRows(List), std::vector<int>{0}) << "Ctrl+click selects one row only";

    // A second click on the selected row's name, and time to start an edit: none starts.
    ASSERT_EQ(Click(List, Centre(ItemRect(List, 0, 0))), PumpIdle);
    Sleep(GetDoubleClickTime() + 200);
    ASSERT_EQ(Pump(Main()), PumpIdle);
    EXPECT_EQ(SendMessageA(List, LVM_GETEDITCONTROL, 0, 0), 0) << "the zone name is not editable";

    PostDoubleClick(List, Centre(ItemRect(List, 1, 0)));
    EXPECT_EQ(Pump(Main()), PumpIdle) << "the window stays open";
    EXPECT_EQ(SelectedRows(List), std::vector<int>{1});

    // Type-ahead by the zone name, in any letter case; a pause starts a new search.
    SetFocus(List);
    for (const auto& [Typed, Row] : {std::pair{"p", 2}, std::pair{"NO", 1}, std::pair{"e", 0}, std::pair{"x", 0}}) {
        Sleep(1000);
        for (const char* Key = Typed; *Key; ++Key)
            PostMessageA(List, WM_CHAR, static_cast<WPARAM>(*Key), 1);
        ASSERT_EQ(Pump(Main()), PumpIdle);
        EXPECT_EQ(SelectedRows(List), std::vector<int>{Row}) << "typed " << Typed;
    }
    // The search as Windows' list sends it (Wine's is above): without LVFI_WRAP, from one
    // past the last row when that one has the focus, or as a substring search.
    struct TFind {
        const char* Typed;
        UINT Flags;
        int Start, Row;
    };
    for (const auto& Find :
         {TFind{"p", LVFI_STRING | LVFI_PARTIAL, 3, 2}, TFind{"east", LVFI_STRING | LVFI_PARTIAL, 1, 0},
          TFind{"nORTH", 0x0004 /* LVFI_SUBSTRING */, 2, 1}, TFind{"North Qeynos", LVFI_STRING, 7, 1},
          TFind{"x", LVFI_STRING | LVFI_PARTIAL, 3, -1}}) {
        NMLVFINDITEMA Notify{};
        Notify.hdr = {List, static_cast<UINT_PTR>(GetDlgCtrlID(List)), LVN_ODFINDITEMA};
        Notify.iStart = Find.Start;
        Notify.lvfi.flags = Find.Flags;
        Notify.lvfi.psz = Find.Typed;
        EXPECT_EQ(SendMessageA(Main(), WM_NOTIFY, Notify.hdr.idFrom, reinterpret_cast<LPARAM>(&Notify)), Find.Row)
            << Find.Typed << " from row " << Find.Start;
    }
    SelectOnly(List, 1);

    const auto Before = Rows(List);
    const HWND Header = reinterpret_cast<HWND>(SendMessageA(List, LVM_GETHEADER, 0, 0));
    for (int Column : {0, 2, 0}) {
        RECT Rect{};
        SendMessageA(Header, HDM_GETITEMRECT, static_cast<WPARAM>(Column), reinterpret_cast<LPARAM>(&Rect));
        ASSERT_EQ(Click(Header, Centre(Rect)), PumpIdle);
    }
    EXPECT_EQ(Rows(List), Before) << "a column click does not sort";
    EXPECT_EQ(SelectedRows(List), std::vector<int>{1});

    EXPECT_TRUE(IsWindowVisible(Main()));
    EXPECT_TRUE(Watcher.Boxes().empty());
    EXPECT_TRUE(Copies(Game.Path()).empty()) << "nothing was launched";
    EXPECT_TRUE(NothingStartedIn(Game.Path()));
}

TEST_F(MainWindowTest, RunRefusesBadInputInAWarningBoxAndFocusesWhatIsWrong)
{
    Open(StandardSettings());
    int Answers = 0;
    Watcher.SetAction([&](const TBox& Box) {
        const TBoxWatcher::TAction Answer[] = {PressEnter, PressEscape, PressCloseBox};
        Answer[Answers++ % 3](Box);
    });
    // One refusal for each control Run can send the player back to, each also wrong in
    // what is checked after it; every refusal's text is the launch's own test.
    const std::string Offset = std::to_string(StandInOffset()), Missing = Game / "Missing.exe";
    struct TCase {
        std::string Path, Offset;
        int Row;
        std::string Message;
        HWND Focus;
    };
    const TCase Cases[] = {
        {Missing, "abc", -1, NotFound(Missing), Form->EditTutorial},
        {Tutorial(), "-5", -1, "Invalid Offset.  Offset must not be negative.", Form->ComboBoxOffset},
        {Tutorial(), Offset, -1, "Select a zone to explore.", Form->ListViewZones},
    };
    for (const auto& Case : Cases) {
        SetWindowTextA(Form->EditTutorial, Case.Path.c_str());
        SetWindowTextA(Form->ComboBoxOffset, Case.Offset.c_str());
        SelectOnly(Form->ListViewZones, Case.Row);
        ASSERT_EQ(PressRun(), PumpIdle) << Case.Message;
        ASSERT_NO_FATAL_FAILURE(ExpectWarningBox(Case.Message));
        EXPECT_TRUE(CentredOnScreen(Watcher.Boxes()[0].Frame));
        EXPECT_TRUE(Watcher.Problems().empty()) << "the box did not close on its answer: " << Case.Message;
        EXPECT_TRUE(FocusIn(Case.Focus)) << Case.Message << ": the focus is on " << ClassOf(GetFocus()) << " \""
                                         << Text(GetFocus()) << "\"";
    }
    EXPECT_TRUE(Copies(Game.Path()).empty());
}

TEST_F(MainWindowTest, AWarningWrapsItsTextAtHalfTheScreenWidth)
{
    Open(StandardSettings());
    std::string Long = Game.Path();
    for (int I = 0; I < 12; ++I)
        Long += "Some Rather Long Folder Name\\";
    Long += "Tutorial.exe";
    const std::string Message = NotFound(Long);
    int LineHeight = 0;
    Watcher.SetAction([&](const TBox& Box) {
        if (const TControl* Label = Box.Find("Static", Message))
            LineHeight = std::abs(FontOf(Label->Handle).lfHeight);
        PressEnter(Box);
    });
    SetWindowTextA(Form->EditTutorial, Long.c_str());
    ASSERT_EQ(PressRun(), PumpIdle);

    const auto Boxes = Watcher.Boxes();
    ASSERT_EQ(Boxes.size(), 1u);
    const TControl* Label = Boxes[0].Find("Static", Message);
    ASSERT_TRUE(Label) << testing::PrintToString(Boxes[0].Texts("Static"));
    const int Half = GetSystemMetrics(SM_CXSCREEN) / 2, Width = Label->Bounds.right - Label->Bounds.left;
    EXPECT_LE(Width, Half);
    EXPECT_GE(Width, Half * 3 / 4) << "the lines are filled up to about half the screen";
    ASSERT_GT(LineHeight, 0);
    EXPECT_GE(Label->Bounds.bottom - Label->Bounds.top, 3 * LineHeight) << "the text runs over several lines";
    EXPECT_TRUE(CentredOnScreen(Boxes[0].Frame));
}

TEST_F(MainWindowTest, RunWritesTheSelectedZoneIntoACopyStartsItAndEndsTheMessageLoop)
{
    Open(StandardSettings());
    ASSERT_EQ(Click(Form->ListViewZones, Centre(ItemRect(Form->ListViewZones, 1, 0))), PumpIdle);
    ASSERT_EQ(SelectedRows(Form->ListViewZones), std::vector<int>{1});

    // The selected row's zone reaches the copy; how the copy is made and started is the
    // launch's own test.
    EXPECT_TRUE(RunLaunches("qeynos2x"));
    EXPECT_FALSE(IsWindowVisible(Main()));
    for (const auto& Made : Copies(Game.Path()))
        DeleteOnceEnded(Game / Made); // the copy ends by itself; then its folder can be removed
}

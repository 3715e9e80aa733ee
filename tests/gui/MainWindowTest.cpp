// The real main window, driven with real messages: what the start-up puts in it, its
// controls, the keyboard, the view styles and the browse dialog (the zone list and Run
// are in ListAndRunTest.cpp).
#include "GeneralHandler.h"
#include "LiveCounts.h"
#include "MainWindowFixture.h"

#include <objbase.h>

using namespace tol;
using namespace tol::test;

namespace {

TBBUTTON ToolButton(HWND Bar, int Index)
{
    TBBUTTON Button{};
    SendMessageA(Bar, TB_GETBUTTON, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&Button));
    return Button;
}

std::vector<int> CheckedButtons(HWND Bar)
{
    std::vector<int> Checked;
    for (int I = 0; I < static_cast<int>(SendMessageA(Bar, TB_BUTTONCOUNT, 0, 0)); ++I)
        if (SendMessageA(Bar, TB_ISBUTTONCHECKED, static_cast<WPARAM>(ToolButton(Bar, I).idCommand), 0))
            Checked.push_back(I);
    return Checked;
}

// While it lives, the first window of the class that this thread would create is
// refused, as a system out of window resources refuses it.
class TRefuseFirstWindow {
public:
    explicit TRefuseFirstWindow(std::string ClassName)
        : FHook(SetWindowsHookExA(WH_CBT, Refuse, nullptr, GetCurrentThreadId()))
    {
        Class = std::move(ClassName);
        Refused = false;
    }
    ~TRefuseFirstWindow() { UnhookWindowsHookEx(FHook); }
    TRefuseFirstWindow(const TRefuseFirstWindow&) = delete;
    TRefuseFirstWindow& operator=(const TRefuseFirstWindow&) = delete;
    static inline std::string Class;
    static inline bool Refused = false;

private:
    static LRESULT CALLBACK Refuse(int Code, WPARAM WParam, LPARAM LParam)
    {
        if (Code == HCBT_CREATEWND && !Refused
            && lstrcmpiA(ClassOf(reinterpret_cast<HWND>(WParam)).c_str(), Class.c_str()) == 0) {
            Refused = true;
            return 1;
        }
        return CallNextHookEx(nullptr, Code, WParam, LParam);
    }
    HHOOK FHook;
};

} // namespace

TEST_F(MainWindowTest, AControlTheSystemRefusesIsReportedByTheGeneralHandlerAndLeavesNothingBehind)
{
    Open(StandardSettings());
    struct TCase {
        std::string Class; // as the window asks for it
        bool InAboutBox;
    };
    const TCase Cases[] = {
        {"STATIC", false},          {"EDIT", false},           {"BUTTON", false},           {"COMBOBOX", false},
        {"ToolbarWindow32", false}, {"SysListView32", false},  {"tooltips_class32", false}, {"STATIC", true},
        {"BUTTON", true},           {"tooltips_class32", true}};
    // The general handler's first box loads what the system then keeps.
    HandleException(std::make_exception_ptr(std::runtime_error("first box")));
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Class + (Case.InAboutBox ? " in the About box" : " in the main window"));
        if (!Case.InAboutBox)
            Form.reset();
        const TLiveCounts Before = LiveCounts();
        Watcher.Clear();
        {
            const TRefuseFirstWindow Refusal(Case.Class);
            if (Case.InAboutBox) {
                ASSERT_EQ(Press(Form->BitBtnAbout), PumpIdle);
            } else {
                // As the program block makes its main window.
                EXPECT_FALSE(Guarded([&] { Form = std::make_unique<TFormMain>(); }));
            }
            EXPECT_TRUE(TRefuseFirstWindow::Refused);
        }
        ExpectOneBox("Cannot create control " + Case.Class + ".", "Tolvane", IDI_HAND, Case.InAboutBox);
        EXPECT_EQ(FindWindowA(Case.InAboutBox ? "TFormAbout" : "TFormMain", nullptr), nullptr);
        EXPECT_EQ(LiveCounts(), Before);
        if (!Case.InAboutBox)
            Open(StandardSettings());
    }
}

TEST_F(MainWindowTest, StartUpFillsTheWindowFromTheSettingsAndRemovesLeftoverCopies)
{
    // Copies an earlier run left in both folders, and a name that only looks like one
    // (which names are copies is the clean-up's own test).
    for (const char* Name : {"TOL1.exe", "tol0F.exe", "TOL1.exe.bak"})
        WriteBytes(Game / Name, "x");
    for (const char* Name : {"TOLff.exe", "TOL1.tmp"})
        WriteBytes(Temp / Name, "x");
    Open(StandardSettings());

    EXPECT_EQ(ClassOf(Main()), "TFormMain");
    EXPECT_EQ(Text(Main()), "Tolvane");
    EXPECT_TRUE(IsWindowVisible(Main()));
    const RECT Frame = ScreenRect(Main());
    EXPECT_EQ(Frame.right - Frame.left, Dpi96(423));
    EXPECT_EQ(Frame.bottom - Frame.top, Dpi96(314));

    EXPECT_EQ(Text(Form->EditTutorial), Tutorial());
    EXPECT_EQ(Text(Form->ComboBoxOffset), std::to_string(StandInOffset()));
    EXPECT_EQ(Rows(Form->ListViewZones),
              (std::vector<std::string>{"East Commonlands|ecommons|Open", "North Qeynos|qeynos2x|Gates = shut",
                                        "Plane of Fear|fearplane|Dangerous, bring friends"}));
    EXPECT_EQ(SelectedRows(Form->ListViewZones), std::vector<int>{0});
    EXPECT_TRUE(FocusIn(Form->EditTutorial)) << ClassOf(GetFocus());
    EXPECT_TRUE(Watcher.Boxes().empty());

    EXPECT_EQ(ListFolder(Game.Path()), (std::vector<std::string>{"StandInExit.txt", "TOL1.exe.bak", "Tutorial.exe"}));
    EXPECT_EQ(ListFolder(Temp.Path()), std::vector<std::string>{"TOL1.tmp"});
}

TEST_F(MainWindowTest, MissingValuesTakeTheirDefaultsAndAHexadecimalOffsetShowsInDecimal)
{
    Open("[Settings]\r\n");
    EXPECT_EQ(Text(Form->EditTutorial), "C:\\Program Files\\EverQuest\\Tutorial.exe");
    EXPECT_EQ(Text(Form->ComboBoxOffset), "1669500");
    EXPECT_EQ(RowCount(Form->ListViewZones), 0);

    Open("[Settings]\r\nOffset=$19797C\r\n[Zones]\r\nOnly One=only|\r\n");
    EXPECT_EQ(Text(Form->ComboBoxOffset), "1669500");
    EXPECT_EQ(Rows(Form->ListViewZones), std::vector<std::string>{"Only One|only|"});
    EXPECT_EQ(SelectedRows(Form->ListViewZones), std::vector<int>{0});
}

TEST_F(MainWindowTest, ABadOffsetIsReportedByTheGeneralHandlerAndTheWindowOpensWithoutZones)
{
    WriteBytes(Game / "TOL2a.exe", "x");
    Open(SettingsFor(Tutorial(), "abc"));

    ExpectGeneralHandlerBox("'abc' is not a valid integer value.");
    EXPECT_EQ(Text(Form->EditTutorial), Tutorial());
    EXPECT_FALSE(Exists(Game / "TOL2a.exe"));
    EXPECT_EQ(Text(Form->ComboBoxOffset), "1669500");
    EXPECT_EQ(RowCount(Form->ListViewZones), 0);
}

TEST_F(MainWindowTest, TheControlsCarryTheirNamesTipsAndPresets)
{
    Open(StandardSettings());
    EXPECT_EQ(Text(Form->Label1), "Tutorial program:");
    EXPECT_EQ(StyleOf(Form->Label1) & SS_TYPEMASK, SS_RIGHT);
    EXPECT_EQ(Text(Form->Label2), "Offset:");
    // Each label shows its whole text in the font the system gave it, and ends just
    // before the box it names, which does not cover it.
    for (const auto& [Label, Box] :
         {std::pair{Form->Label1, Form->EditTutorial}, std::pair{Form->Label2, Form->ComboBoxOffset}}) {
        const RECT L = ScreenRect(Label), B = ScreenRect(Box), Client = ScreenRect(Main());
        EXPECT_TRUE(ShowsWholeText(Label)) << Text(Label);
        EXPECT_LE(L.right, B.left) << Text(Label);
        EXPECT_GE(L.right, B.left - Dpi96(10)) << Text(Label);
        EXPECT_GE(L.left, Client.left) << Text(Label);
    }
    EXPECT_EQ(ToolTipText(Main(), Form->EditTutorial), "Location of tutorial.exe");
    EXPECT_EQ(ToolTipText(Main(), Form->SpeedButtonBrowseTutorial), "Browse...");
    EXPECT_EQ(ToolTipText(Main(), Form->ListViewZones), "Select a zone to explore.");

    // An editable drop-down list holding the two known offsets, in this order.
    EXPECT_EQ(StyleOf(Form->ComboBoxOffset) & 3, CBS_DROPDOWN);
    EXPECT_EQ(ComboItems(Form->ComboBoxOffset), (std::vector<std::string>{"1669500", "1669008"}));

    std::vector<std::pair<std::string, int>> Columns;
    for (int I = 0;; ++I) {
        char Caption[64] = {};
        LVCOLUMNA Column{};
        Column.mask = LVCF_TEXT | LVCF_WIDTH;
        Column.pszText = Caption;
        Column.cchTextMax = sizeof Caption;
        if (!SendMessageA(Form->ListViewZones, LVM_GETCOLUMNA, static_cast<WPARAM>(I),
                          reinterpret_cast<LPARAM>(&Column)))
            break;
        Columns.emplace_back(Caption, Column.cx);
    }
    EXPECT_EQ(Columns, (std::vector<std::pair<std::string, int>>{
                           {"Zone Name", Dpi96(170)}, {"Internal Name", Dpi96(100)}, {"Status", Dpi96(300)}}));

    EXPECT_EQ(Text(Form->BitBtnRun), "&Run");
    EXPECT_EQ(Text(Form->BitBtnAbout), "&About...");
    for (HWND Button : {Form->BitBtnRun, Form->BitBtnAbout})
        EXPECT_NE(StyleOf(Button) & BS_TYPEMASK, BS_DEFPUSHBUTTON) << Text(Button);

    // Every picture at its size at the window's dots per inch, the toolbar's buttons
    // around theirs as at 96 (23 x 22 around 16 x 16) and the font at 8 points; so again
    // after the window has come to a monitor of each other scale.
    const auto ButtonIcon = [](HWND Button) {
        return PictureSize(reinterpret_cast<HICON>(SendMessageA(Button, BM_GETIMAGE, IMAGE_ICON, 0)));
    };
    const auto ListImages = [&](int Which) {
        return PictureSize(reinterpret_cast<HIMAGELIST>(SendMessageA(Form->ListViewZones, LVM_GETIMAGELIST, Which, 0)));
    };
    for (const int Dpi : {Dpi96(96), 144, 192, 96}) {
        RECT Suggested = ScreenRect(Main());
        if (Dpi != DpiOf(Main()))
            SendMessageA(Main(), WM_DPICHANGED, MAKEWPARAM(Dpi, Dpi), reinterpret_cast<LPARAM>(&Suggested));
        const auto ToolImages = reinterpret_cast<HIMAGELIST>(
            SendMessageA(Form->ToolBarViewStyles, TB_GETIMAGELIST, 0, 0));
        const auto Square = [Dpi](int Size96) {
            return std::make_pair(MulDiv(Size96, Dpi, 96), MulDiv(Size96, Dpi, 96));
        };
        EXPECT_EQ((std::vector{ListImages(LVSIL_SMALL), ListImages(LVSIL_NORMAL), PictureSize(ToolImages),
                               ButtonIcon(Form->BitBtnRun), ButtonIcon(Form->BitBtnAbout),
                               ButtonIcon(Form->SpeedButtonBrowseTutorial)}),
                  (std::vector{Square(16), Square(32), Square(16), Square(16), Square(16), Square(16)}))
            << Dpi;
        const auto ToolButton = static_cast<DWORD>(SendMessageA(Form->ToolBarViewStyles, TB_GETBUTTONSIZE, 0, 0));
        EXPECT_EQ(std::make_pair(static_cast<int>(LOWORD(ToolButton)), static_cast<int>(HIWORD(ToolButton))),
                  std::make_pair(MulDiv(23, Dpi, 96), MulDiv(22, Dpi, 96)))
            << Dpi;
        EXPECT_EQ(FontOf(Form->EditTutorial).lfHeight, -MulDiv(8, Dpi, 72)) << Dpi;
    }
}

TEST_F(MainWindowTest, TabVisitsThePathTheOffsetTheListAndTheButtonsInOrder)
{
    Open(StandardSettings());
    ASSERT_TRUE(FocusIn(Form->EditTutorial));
    for (HWND Next :
         {Form->ComboBoxOffset, Form->ListViewZones, Form->BitBtnRun, Form->BitBtnAbout, Form->EditTutorial}) {
        ASSERT_EQ(Key(VK_TAB), PumpIdle);
        EXPECT_TRUE(FocusIn(Next)) << "expected " << ClassOf(Next) << " \"" << Text(Next) << "\", focus is on "
                                   << ClassOf(GetFocus()) << " \"" << Text(GetFocus()) << "\"";
    }
}

TEST_F(MainWindowTest, EnterAndEscapeStartNothingWhileAltRAndAltAPressTheButtons)
{
    Open(StandardSettings());
    const std::string Missing = Game / "Missing.exe";
    SetWindowTextA(Form->EditTutorial, Missing.c_str()); // a press of Run would be refused with a warning
    for (HWND Control : {Form->EditTutorial, Form->ComboBoxOffset, Form->ListViewZones}) {
        SetFocus(Control);
        for (UINT Pressed : {VK_RETURN, VK_ESCAPE})
            ASSERT_EQ(Key(Pressed), PumpIdle);
    }
    EXPECT_TRUE(Watcher.Boxes().empty()) << Watcher.Boxes()[0].Caption;
    EXPECT_TRUE(IsWindowVisible(Main()));

    SetFocus(Form->ComboBoxOffset);
    ASSERT_EQ(Key('R', true), PumpIdle);
    ExpectWarningBox(NotFound(Missing));

    ASSERT_EQ(Key('A', true), PumpIdle);
    const auto Boxes = Watcher.Boxes();
    ASSERT_EQ(Boxes.size(), 2u) << "Alt+A";
    EXPECT_EQ(Boxes[1].Class, "TFormAbout");
}

TEST_F(MainWindowTest, ViewStyleButtonsSwitchTheListsViewAndTakeNoFocus)
{
    Open(StandardSettings());
    const HWND Bar = Form->ToolBarViewStyles, List = Form->ListViewZones;
    ASSERT_EQ(SendMessageA(Bar, TB_BUTTONCOUNT, 0, 0), 4);
    // Each button's tooltip, asked of the window in either character set as the bar's
    // tooltip asks: its hint's text before the "|".
    const auto Tip = [&](auto& Info, UINT Code, int Id) {
        Info.hdr = {Bar, static_cast<UINT_PTR>(Id), Code};
        SendMessageA(Main(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&Info));
        return Info.lpszText;
    };
    const std::pair<const char*, const wchar_t*> Tips[] = {
        {"Large Icons", L"Large Icons"}, {"Small Icons", L"Small Icons"}, {"List", L"List"}, {"Details", L"Details"}};
    for (int I = 0; I < 4; ++I) {
        const TBBUTTON Button = ToolButton(Bar, I);
        EXPECT_EQ(Button.dwData, static_cast<DWORD_PTR>(I)) << "the tag of button " << I;
        EXPECT_EQ(Button.fsStyle & BTNS_CHECKGROUP, BTNS_CHECKGROUP) << I;
        NMTTDISPINFOA Ansi{};
        NMTTDISPINFOW Wide{};
        EXPECT_STREQ(Tip(Ansi, TTN_GETDISPINFOA, Button.idCommand), Tips[I].first);
        EXPECT_STREQ(Tip(Wide, TTN_GETDISPINFOW, Button.idCommand), Tips[I].second);
    }
    EXPECT_EQ(CheckedButtons(Bar), std::vector<int>{3}) << "Details is down at the start";
    EXPECT_EQ(StyleOf(List) & LVS_TYPEMASK, LVS_REPORT);

    SelectOnly(List, 1);
    const DWORD Views[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    for (int Tag : {0, 1, 2, 3, 1, 2, 3}) {
        RECT Rect{};
        SendMessageA(Bar, TB_GETITEMRECT, static_cast<WPARAM>(Tag), reinterpret_cast<LPARAM>(&Rect));
        ASSERT_EQ(Click(Bar, Centre(Rect)), PumpIdle);
        EXPECT_EQ(static_cast<DWORD>(StyleOf(List)) & LVS_TYPEMASK, Views[Tag]) << "after button " << Tag;
        EXPECT_TRUE(ShowsAPicture(List, ItemIconRect(List, 0), GetSysColor(COLOR_WINDOW)))
            << "the zone's picture in view " << Tag;
        EXPECT_EQ(CheckedButtons(Bar), std::vector<int>{Tag});
        EXPECT_TRUE(FocusIn(Form->EditTutorial))
            << "after button " << Tag << " the focus is on " << ClassOf(GetFocus());
    }
    EXPECT_EQ(SelectedRows(List), std::vector<int>{1});
    EXPECT_EQ(RowCount(List), 3);
}

TEST_F(MainWindowTest, BrowseAsksForTheTutorialAndOnlyAChoiceChangesThePath)
{
    Open(StandardSettings());
    const std::string Chosen = Game / "Other.exe";
    WriteBytes(Chosen, "x");
    bool Choose = false;
    Watcher.SetAction([&](const TBox& Box) {
        if (!Choose) {
            PressEscape(Box);
            return;
        }
        // The file-name field of the system's dialog is its first edit control.
        for (const auto& Control : Box.Controls)
            if (lstrcmpiA(Control.Class.c_str(), "Edit") == 0 && IsWindowVisible(Control.Handle)) {
                SendMessageA(Control.Handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Chosen.c_str()));
                break;
            }
        PostMessageA(Box.Window, WM_COMMAND, IDOK, 0);
    });
    const auto ClickBrowse = [&] {
        const SIZE Size = ClientSize(Form->SpeedButtonBrowseTutorial);
        PostClick(Form->SpeedButtonBrowseTutorial, {Size.cx / 2, Size.cy / 2});
        return Pump(Main(), 30000);
    };

    ASSERT_EQ(ClickBrowse(), PumpIdle);
    auto Boxes = Watcher.Boxes();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Caption, "Select tutorial.exe...");
    EXPECT_EQ(Text(Form->EditTutorial), Tutorial()) << "cancelled: unchanged";
    EXPECT_TRUE(FocusIn(Form->EditTutorial)) << "the browse button takes no focus; it is on " << ClassOf(GetFocus());

    Choose = true;
    ASSERT_EQ(ClickBrowse(), PumpIdle);
    EXPECT_EQ(Watcher.Boxes().size(), 2u);
    EXPECT_EQ(lstrcmpiA(Text(Form->EditTutorial).c_str(), Chosen.c_str()), 0) << Text(Form->EditTutorial);
}

TEST(ApplicationScope, TheWindowsThreadIsTheSingleThreadedApartmentTheShellAsksFor)
{
    // Another kind of apartment is refused only to a thread that already has one.
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
}

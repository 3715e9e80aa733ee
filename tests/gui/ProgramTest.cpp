// The real TOL.exe, started as a player starts it, beside its settings file: its exit
// codes, its boxes, its window read from outside, and a whole launch.
#include "ProgramFixture.h"

#include <algorithm>

using namespace tol::test;

namespace {

// What a window's scale shows in it, as far as another process can read it: each
// control's class and place in the client area, the heights the font gives the offset
// box's items and the list's rows, the list's column widths and a row's picture, the
// toolbar's button size. (The font and glyph handles are the program's own: the
// window tests read them in their own process.)
std::vector<std::string> ScaledShape(HWND Main)
{
    std::vector<std::string> Shape;
    const auto Add = [&](const std::string& What, auto... Values) {
        std::string Line = What;
        ((Line += " " + std::to_string(Values)), ...);
        Shape.push_back(Line);
    };
    const SIZE Client = ClientSize(Main);
    Add("client", Client.cx, Client.cy);
    for (HWND Child = GetWindow(Main, GW_CHILD); Child; Child = GetWindow(Child, GW_HWNDNEXT)) {
        RECT Rect = ScreenRect(Child);
        MapWindowPoints(nullptr, Main, reinterpret_cast<POINT*>(&Rect), 2);
        Add(ClassOf(Child) + " " + Text(Child), Rect.left, Rect.top, Rect.right, Rect.bottom);
    }
    Add("offset item", SendMessageA(Children(Main, "ComboBox").at(0), CB_GETITEMHEIGHT, 0, 0));
    const HWND List = Children(Main, WC_LISTVIEWA).at(0);
    Add("columns", SendMessageA(List, LVM_GETCOLUMNWIDTH, 0, 0), SendMessageA(List, LVM_GETCOLUMNWIDTH, 1, 0),
        SendMessageA(List, LVM_GETCOLUMNWIDTH, 2, 0));
    const RECT Icon = ItemIconRect(List, 0), Row = ItemRect(List, 0, 0);
    Add("row", Row.bottom - Row.top, Icon.right - Icon.left, Icon.bottom - Icon.top);
    const auto ToolButton = static_cast<DWORD>(
        SendMessageA(Children(Main, TOOLBARCLASSNAMEA).at(0), TB_GETBUTTONSIZE, 0, 0));
    Add("tool button", LOWORD(ToolButton), HIWORD(ToolButton));
    return Shape;
}

} // namespace

TEST_F(ProgramTest, WithoutItsSettingsFileTheProgramShowsAnErrorAndEndsWithCodeOne)
{
    const TProcess Program = Launch();
    const HWND Box = WaitForTopWindow({"#32770", "Error", Program.Id()});
    ASSERT_TRUE(Box) << "no Error box";
    const std::string Message = "Initialization file, \"" + Settings() + "\", not found.";
    EXPECT_TRUE(ChildWithText(Box, "Static", Message)) << testing::PrintToString(ChildTexts(Box, "Static"));
    EXPECT_EQ(ChildTexts(Box, "Button"), std::vector<std::string>{"OK"});
    EXPECT_FALSE(TopWindow({"TFormMain", "Tolvane", Program.Id()})) << "the main window is not shown";
    PressKeyIn(Box, VK_RETURN);
    EXPECT_EQ(Program.WaitForExit(), 1);
}

TEST_F(ProgramTest, ABadOffsetIsShownByTheGeneralHandlerAndTheWindowOpensWithAnEmptyList)
{
    WriteBytes(Settings(), SettingsFor(Tutorial(), "abc"));
    const TProcess Program = Launch();
    const HWND Box = WaitForTopWindow({"#32770", "Tolvane", Program.Id()});
    ASSERT_TRUE(Box) << "no box from the general handler";
    EXPECT_TRUE(ChildWithText(Box, "Static", "'abc' is not a valid integer value."))
        << testing::PrintToString(ChildTexts(Box, "Static"));
    PressKeyIn(Box, VK_RETURN);

    const HWND Main = WaitForTopWindow({"TFormMain", "Tolvane", Program.Id()});
    ASSERT_TRUE(Main) << "the main window did not open";
    ASSERT_EQ(Children(Main, WC_LISTVIEWA).size(), 1u);
    EXPECT_EQ(RowCount(Children(Main, WC_LISTVIEWA)[0]), 0);
    EXPECT_EQ(ChildTexts(Main, "ComboBox"), std::vector<std::string>{"1669500"});
    EXPECT_EQ(ChildTexts(Main, "Edit"), std::vector<std::string>{Tutorial()});
    EXPECT_EQ(CloseAndWait(Program, Main), 0);
}

TEST_F(ProgramTest, APlayerPicksAZoneRunsItAndTheLauncherEnds)
{
    WriteBytes(Settings(), StandardSettings());
    const TProcess Program = Launch();
    const HWND Main = MainWindowOf(Program);
    ASSERT_TRUE(Main);
    const HWND List = OnlyChild(Main, WC_LISTVIEWA);
    ASSERT_TRUE(List);
    ASSERT_EQ(RowCount(List), 3);
    EXPECT_EQ(SelectedRows(List), std::vector<int>{0});

    EXPECT_EQ(Rows(List)[2], "Plane of Fear|fearplane|Dangerous, bring friends");
    SelectOnly(List, 2);

    const HWND Run = ChildWithText(Main, "Button", "&Run");
    ASSERT_TRUE(Run);
    PostMessageA(Run, BM_CLICK, 0, 0);
    EXPECT_EQ(Program.WaitForExit(), 0) << "the launcher ends after the launch";
    EXPECT_EQ(StartedZone(Game.Path()), "fearplane");
    for (const auto& Copy : Copies(Game.Path()))
        DeleteOnceEnded(Game / Copy); // the stand-in ends by itself before its folder is removed
}

TEST_F(ProgramTest, AtAHigherSystemDpiTheWindowsAndTheirPicturesGrowWithIt)
{
    WriteBytes(Settings(), StandardSettings());
    const TProcess Program = LaunchAt(144);
    const HWND Main = MainWindowOf(Program);
    ASSERT_TRUE(Main);
    const RECT Frame = ScreenRect(Main);
    EXPECT_EQ(Frame.right - Frame.left, MulDiv(423, 144, 96));
    EXPECT_EQ(Frame.bottom - Frame.top, MulDiv(314, 144, 96));
    const HWND List = Children(Main, WC_LISTVIEWA).at(0);
    std::vector<LRESULT> Widths;
    for (int Column = 0; Column < 3; ++Column)
        Widths.push_back(SendMessageA(List, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(Column), 0));
    EXPECT_EQ(Widths, (std::vector<LRESULT>{MulDiv(170, 144, 96), MulDiv(100, 144, 96), MulDiv(300, 144, 96)}));
    // The pictures grow with it: the zones' small picture, and the toolbar's buttons
    // around theirs (23 x 22 at 96).
    const RECT Icon = ItemIconRect(List, 0);
    EXPECT_EQ(Icon.right - Icon.left, MulDiv(16, 144, 96));
    const HWND ToolBar = Children(Main, TOOLBARCLASSNAMEA).at(0);
    const auto ToolButton = static_cast<DWORD>(SendMessageA(ToolBar, TB_GETBUTTONSIZE, 0, 0));
    EXPECT_EQ(LOWORD(ToolButton), MulDiv(23, 144, 96));
    EXPECT_EQ(HIWORD(ToolButton), MulDiv(22, 144, 96));

    PressButton(Main, "&About...");
    const HWND About = WaitForTopWindow({"TFormAbout", "About...", Program.Id()});
    ASSERT_TRUE(About);
    const SIZE Client = ClientSize(About);
    EXPECT_EQ(Client.cx, MulDiv(266, 144, 96));
    EXPECT_EQ(Client.cy, MulDiv(153, 144, 96));
    // The badge's control takes the size of the bitmap it shows (none: 0 x 0).
    HWND Badge = nullptr;
    for (HWND Static : Children(About, "Static"))
        if ((StyleOf(Static) & SS_TYPEMASK) == SS_BITMAP)
            Badge = Static;
    EXPECT_EQ(ClientSize(Badge).cx, MulDiv(110, 144, 96));
    EXPECT_EQ(ClientSize(Badge).cy, MulDiv(36, 144, 96));
    PostMessageA(About, WM_CLOSE, 0, 0);
    WaitUntil([&] { return !IsWindowVisible(About); }, 2s);
    EXPECT_EQ(CloseAndWait(Program, Main), 0);
}

TEST_F(ProgramTest, AWindowMovedToAnotherScaleLooksAsOneStartedThereAndKeepsWhatThePlayerDid)
{
    std::string Zones;
    for (int Zone = 0; Zone < 60; ++Zone)
        Zones += "Zone " + std::to_string(Zone) + "=zone" + std::to_string(Zone) + "|\r\n";
    WriteBytes(Settings(), StandardSettings(Zones));
    const TProcess Moved = Launch();
    const HWND Main = MainWindowOf(Moved);
    ASSERT_TRUE(Main);
    const HWND List = Children(Main, WC_LISTVIEWA).at(0), Edit = Children(Main, "Edit").at(0);
    SendMessageA(Edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("D:\\Games\\Tutorial.exe"));
    SelectOnly(List, 40);
    const auto TopRow = SendMessageA(List, LVM_GETTOPINDEX, 0, 0);
    ASSERT_GT(TopRow, 0) << "the list is scrolled";
    std::vector<std::string> Before = ScaledShape(Main);
    for (const int Dpi : {144, 192, 96}) {
        // A window started at that scale; the moved one is handed a rectangle with the
        // same client area (Wine keeps the frame at the system's scale).
        const TProcess Program = LaunchAt(Dpi);
        const HWND Reference = MainWindowOf(Program);
        ASSERT_TRUE(Reference);
        SendMessageA(Children(Reference, "Edit").at(0), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>("D:\\Games\\Tutorial.exe"));
        const std::vector<std::string> Started = ScaledShape(Reference);
        const SIZE Client = ClientSize(Reference);
        EXPECT_EQ(CloseAndWait(Program, Reference), 0);
        RECT Frame = ScreenRect(Main);
        const SIZE Now = ClientSize(Main);
        Frame.right += Client.cx - Now.cx;
        Frame.bottom += Client.cy - Now.cy;
        SendWithRect(Main, WM_DPICHANGED, MAKEWPARAM(Dpi, Dpi), Frame);
        EXPECT_EQ(ScaledShape(Main), Started) << "at " << Dpi;
        EXPECT_NE(Started, Before) << "the scale shows in the shape at " << Dpi;
        Before = Started;
        EXPECT_EQ(Text(Edit), "D:\\Games\\Tutorial.exe");
        EXPECT_EQ(SelectedRows(List), std::vector<int>{40});
        EXPECT_EQ(SendMessageA(List, LVM_GETTOPINDEX, 0, 0), TopRow) << Dpi;

        // The boxes it opens take its scale: the About box, and the warning that the
        // tutorial is not there (its icon).
        PressButton(Main, "&About...");
        const HWND About = WaitForTopWindow({"TFormAbout", "About...", Moved.Id()});
        ASSERT_TRUE(About);
        EXPECT_EQ(ClientSize(About).cx, MulDiv(266, Dpi, 96)) << Dpi;
        PostMessageA(About, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(About); }, 2s));
        PressButton(Main, "&Run");
        const HWND Warning = WaitForTopWindow({"#32770", "Warning", Moved.Id()});
        ASSERT_TRUE(Warning);
        const auto Statics = Children(Warning, "Static");
        ASSERT_TRUE(std::any_of(Statics.begin(), Statics.end(),
                                [&](HWND Static) {
                                    return (StyleOf(Static) & SS_TYPEMASK) == SS_ICON
                                           && ClientSize(Static).cx == MulDiv(32, Dpi, 96);
                                }))
            << "the warning's icon at " << Dpi;
        PressKeyIn(Warning, VK_RETURN);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(Warning); }, 2s));
    }
    EXPECT_EQ(CloseAndWait(Moved, Main), 0);
}

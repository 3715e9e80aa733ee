// The real TOL.exe, started as a player starts it, beside its settings file: its exit
// codes, its boxes, its window read from outside, and a whole launch.
#include "ProgramFixture.h"

#include <commctrl.h>

using namespace tol::test;

namespace {

// The system's dots per inch for programs started while the object lives (Wine reads
// the user's setting when a process starts).
class TScopedSystemDpi {
public:
    explicit TScopedSystemDpi(DWORD Dpi)
    {
        DWORD Size = sizeof FOld;
        FHadOld = RegGetValueA(HKEY_CURRENT_USER, Key, "LogPixels", RRF_RT_REG_DWORD, nullptr, &FOld, &Size)
                  == ERROR_SUCCESS;
        RegSetKeyValueA(HKEY_CURRENT_USER, Key, "LogPixels", REG_DWORD, &Dpi, sizeof Dpi);
    }
    ~TScopedSystemDpi()
    {
        if (FHadOld)
            RegSetKeyValueA(HKEY_CURRENT_USER, Key, "LogPixels", REG_DWORD, &FOld, sizeof FOld);
        else
            RegDeleteKeyValueA(HKEY_CURRENT_USER, Key, "LogPixels");
    }
    TScopedSystemDpi(const TScopedSystemDpi&) = delete;
    TScopedSystemDpi& operator=(const TScopedSystemDpi&) = delete;

private:
    static constexpr char Key[] = "Control Panel\\Desktop";
    DWORD FOld = 0;
    bool FHadOld = false;
};

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
    WriteBytes(Settings(), SettingsFor(Tutorial(), std::to_string(StandInOffset())));
    const TProcess Program = Launch();
    const HWND Main = WaitForTopWindow({"TFormMain", "Tolvane", Program.Id()});
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
    WriteBytes(Settings(), SettingsFor(Tutorial(), std::to_string(StandInOffset())));
    TProcess Program;
    {
        const TScopedSystemDpi Dpi(144);
        Program = Launch();
        ASSERT_TRUE(WaitForTopWindow({"TFormMain", "Tolvane", Program.Id()})); // it has read the setting by now
    }
    const HWND Main = WaitForTopWindow({"TFormMain", "Tolvane", Program.Id()});
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

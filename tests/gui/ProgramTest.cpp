// The real TOL.exe, started as a player starts it, beside its settings file: its exit
// codes, its boxes, its window read from outside, and a whole launch.
#include "GuiSupport.h"
#include "ProgramSupport.h"
#include "TestSupport.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>

using namespace tol::test;
using namespace std::chrono_literals;

namespace {

// The system's dots per inch for programs started while the object lives (Wine reads
// the user's setting when a process starts).
class TScopedSystemDpi {
public:
    explicit TScopedSystemDpi(DWORD Dpi)
    {
        RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                        nullptr, &FKey, nullptr);
        DWORD Size = sizeof FOld;
        FHadOld = RegQueryValueExA(FKey, "LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&FOld), &Size) == ERROR_SUCCESS;
        RegSetValueExA(FKey, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&Dpi), sizeof Dpi);
    }
    ~TScopedSystemDpi()
    {
        if (FHadOld)
            RegSetValueExA(FKey, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&FOld), sizeof FOld);
        else
            RegDeleteValueA(FKey, "LogPixels");
        RegCloseKey(FKey);
    }
    TScopedSystemDpi(const TScopedSystemDpi&) = delete;
    TScopedSystemDpi& operator=(const TScopedSystemDpi&) = delete;

private:
    HKEY FKey = nullptr;
    DWORD FOld = 0;
    bool FHadOld = false;
};

class ProgramTest : public ::testing::Test {
protected:
    ProgramTest()
    {
        WriteBytes(App / "TOL.exe", ReadBytes(WinePath(TOLVANE_TOL_EXE)));
        WriteBytes(Game / "Tutorial.exe", ReadBytes(StandInFileName()));
        WriteBytes(Game / "StandInExit.txt", "0");
    }

    void WriteSettings(const std::string& Offset)
    {
        WriteBytes(App / "TOL.ini", "[Settings]\r\nTutorial=" + Game / "Tutorial.exe" + "\r\nOffset=" + Offset
                                        + "\r\n[Zones]\r\nEast Commonlands=ecommons|Open\r\n"
                                          "Plane of Fear=fearplane|Dangerous\r\nNorth Qeynos=qeynos2x|\r\n");
    }

    TUnmanagedWindows Unmanaged{"TOL.exe"};
    TTestFolder App{"app"};
    TTestFolder Game{"game"};
    TTestFolder Temp{"tmp"};
    TScopedEnvironment Tmp{"TMP", Temp.Path()}; // passed on to the program
};

} // namespace

TEST_F(ProgramTest, WithoutItsSettingsFileTheProgramShowsAnErrorAndEndsWithCodeOne)
{
    TProgram Program(App / "TOL.exe", App.Path());
    const HWND Box = Program.WaitForWindow("#32770", "Error");
    ASSERT_TRUE(Box) << "no Error box";
    const std::string Message = "Initialization file, \"" + App / "TOL.ini" + "\", not found.";
    EXPECT_TRUE(ChildWithText(Box, "Static", Message)) << testing::PrintToString(ChildTexts(Box, "Static"));
    EXPECT_EQ(ChildTexts(Box, "Button"), std::vector<std::string>{"OK"});
    EXPECT_FALSE(Program.FindWindow("TFormMain", "Tolvane")) << "the main window is not shown";
    PressEnterIn(Box);
    EXPECT_EQ(Program.WaitForExit(), 1);
}

TEST_F(ProgramTest, ABadOffsetIsShownByTheGeneralHandlerAndTheWindowOpensWithAnEmptyList)
{
    WriteSettings("abc");
    TProgram Program(App / "TOL.exe", App.Path());
    const HWND Box = Program.WaitForWindow("#32770", "Tolvane");
    ASSERT_TRUE(Box) << "no box from the general handler";
    EXPECT_TRUE(ChildWithText(Box, "Static", "'abc' is not a valid integer value."))
        << testing::PrintToString(ChildTexts(Box, "Static"));
    PressEnterIn(Box);

    const HWND Main = Program.WaitForWindow("TFormMain", "Tolvane");
    ASSERT_TRUE(Main) << "the main window did not open";
    ASSERT_EQ(ChildrenOfClass(Main, WC_LISTVIEWA).size(), 1u);
    EXPECT_EQ(RowCount(ChildrenOfClass(Main, WC_LISTVIEWA)[0]), 0);
    EXPECT_EQ(ChildTexts(Main, "ComboBox"), std::vector<std::string>{"1669500"});
    EXPECT_EQ(ChildTexts(Main, "Edit"), std::vector<std::string>{Game / "Tutorial.exe"});
    PostMessageA(Main, WM_CLOSE, 0, 0);
    EXPECT_EQ(Program.WaitForExit(), 0);
}

TEST_F(ProgramTest, APlayerPicksAZoneRunsItAndTheLauncherEnds)
{
    WriteSettings(std::to_string(StandInOffset()));
    TProgram Program(App / "TOL.exe", App.Path());
    const HWND Main = Program.WaitForWindow("TFormMain", "Tolvane");
    ASSERT_TRUE(Main);
    const auto Lists = ChildrenOfClass(Main, WC_LISTVIEWA);
    ASSERT_EQ(Lists.size(), 1u);
    const HWND List = Lists[0];
    ASSERT_EQ(RowCount(List), 3);
    EXPECT_EQ(SendMessageA(List, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 0);

    TRemoteItem Remote(Program.Process());
    EXPECT_EQ(Remote.Text(List, 1, 0), "Plane of Fear");
    EXPECT_EQ(Remote.Text(List, 1, 1), "fearplane");
    EXPECT_EQ(Remote.Text(List, 1, 2), "Dangerous");
    Remote.Select(List, 1);

    const HWND Run = ChildWithText(Main, "Button", "&Run");
    ASSERT_TRUE(Run);
    PostMessageA(Run, BM_CLICK, 0, 0);
    EXPECT_EQ(Program.WaitForExit(), 0) << "the launcher ends after the launch";
    ASSERT_TRUE(WaitForFile(Game / "StandInReport.txt", 20s));
    EXPECT_EQ(ReadStandInReport(Game.Path()).Zone, "fearplane");
    Sleep(300); // the stand-in ends by itself before its folder is removed
}

TEST_F(ProgramTest, AtAHigherSystemDpiTheWindowsAndTheirPicturesGrowWithIt)
{
    WriteSettings(std::to_string(StandInOffset()));
    std::unique_ptr<TProgram> Program;
    {
        const TScopedSystemDpi Dpi(144);
        Program = std::make_unique<TProgram>(App / "TOL.exe", App.Path());
        ASSERT_TRUE(Program->WaitForWindow("TFormMain", "Tolvane")); // it has read the setting by now
    }
    const HWND Main = Program->WaitForWindow("TFormMain", "Tolvane");
    const RECT Frame = ScreenRect(Main);
    EXPECT_EQ(Frame.right - Frame.left, MulDiv(423, 144, 96));
    EXPECT_EQ(Frame.bottom - Frame.top, MulDiv(314, 144, 96));
    const HWND List = ChildrenOfClass(Main, WC_LISTVIEWA).at(0);
    std::vector<LRESULT> Widths;
    for (int Column = 0; Column < 3; ++Column)
        Widths.push_back(SendMessageA(List, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(Column), 0));
    EXPECT_EQ(Widths, (std::vector<LRESULT>{MulDiv(170, 144, 96), MulDiv(100, 144, 96), MulDiv(300, 144, 96)}));
    // The pictures grow with it: the zones' small picture, and the toolbar's buttons
    // around theirs (23 x 22 at 96).
    const RECT Icon = TRemoteItem(Program->Process()).IconRect(List, 0);
    EXPECT_EQ(Icon.right - Icon.left, MulDiv(16, 144, 96));
    const HWND ToolBar = ChildrenOfClass(Main, TOOLBARCLASSNAMEA).at(0);
    const auto ToolButton = static_cast<DWORD>(SendMessageA(ToolBar, TB_GETBUTTONSIZE, 0, 0));
    EXPECT_EQ(LOWORD(ToolButton), MulDiv(23, 144, 96));
    EXPECT_EQ(HIWORD(ToolButton), MulDiv(22, 144, 96));

    PostMessageA(ChildWithText(Main, "Button", "&About..."), BM_CLICK, 0, 0);
    const HWND About = Program->WaitForWindow("TFormAbout", "About...");
    ASSERT_TRUE(About);
    const SIZE Client = ClientSize(About);
    EXPECT_EQ(Client.cx, MulDiv(266, 144, 96));
    EXPECT_EQ(Client.cy, MulDiv(153, 144, 96));
    // The badge's control takes the size of the bitmap it shows (none: 0 x 0).
    HWND Badge = nullptr;
    for (HWND Static : ChildrenOfClass(About, "Static"))
        if ((StyleOf(Static) & SS_TYPEMASK) == SS_BITMAP)
            Badge = Static;
    EXPECT_EQ(ClientSize(Badge).cx, MulDiv(110, 144, 96));
    EXPECT_EQ(ClientSize(Badge).cy, MulDiv(36, 144, 96));
    PostMessageA(About, WM_CLOSE, 0, 0);
    for (int I = 0; I < 100 && IsWindowVisible(About); ++I)
        Sleep(20);
    PostMessageA(Main, WM_CLOSE, 0, 0);
    EXPECT_EQ(Program->WaitForExit(), 0);
}

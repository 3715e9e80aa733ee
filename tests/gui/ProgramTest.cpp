// The real TOL.exe, started as a player starts it, beside its settings file: its exit
// codes, its boxes, its window read from outside, and a whole launch.
#include "GuiSupport.h"
#include "TestSupport.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>

using namespace tol::test;
using namespace std::chrono_literals;

namespace {

struct TWindowQuery {
    DWORD ProcessId;
    const std::string &Class, &Caption;
    HWND Found;
};

BOOL CALLBACK FindProgramWindow(HWND Window, LPARAM Param)
{
    auto& Query = *reinterpret_cast<TWindowQuery*>(Param);
    DWORD Id = 0;
    GetWindowThreadProcessId(Window, &Id);
    if (Id == Query.ProcessId && IsWindowVisible(Window) && ClassOf(Window) == Query.Class
        && Text(Window) == Query.Caption) {
        Query.Found = Window;
        return FALSE;
    }
    return TRUE;
}

// A started program; ended by force at the end if it is still running.
class TProgram {
public:
    TProgram(const std::string& FileName, const std::string& Folder)
    {
        STARTUPINFOA Startup{};
        Startup.cb = sizeof Startup;
        std::string CommandLine = "\"" + FileName + "\"";
        if (!CreateProcessA(FileName.c_str(), CommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, Folder.c_str(),
                            &Startup, &FInfo))
            throw std::runtime_error("cannot start " + FileName);
        CloseHandle(FInfo.hThread);
    }
    ~TProgram()
    {
        if (WaitForSingleObject(FInfo.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(FInfo.hProcess, 99);
            WaitForSingleObject(FInfo.hProcess, 5000);
        }
        CloseHandle(FInfo.hProcess);
    }
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;

    HANDLE Process() const { return FInfo.hProcess; }

    // A visible top-level window of the program; none when it does not come or the
    // program ends first.
    HWND WaitForWindow(const std::string& Class, const std::string& Caption)
    {
        for (int I = 0; I < 1000; ++I) {
            if (const HWND Window = FindWindow(Class, Caption))
                return Window;
            if (WaitForSingleObject(FInfo.hProcess, 20) == WAIT_OBJECT_0)
                return FindWindow(Class, Caption);
        }
        return nullptr;
    }

    HWND FindWindow(const std::string& Class, const std::string& Caption) const
    {
        TWindowQuery Query{FInfo.dwProcessId, Class, Caption, nullptr};
        EnumWindows(FindProgramWindow, reinterpret_cast<LPARAM>(&Query));
        return Query.Found;
    }

    // The exit code; -1 when the program is still running after the timeout.
    long WaitForExit(DWORD TimeoutMs = 20000) const
    {
        if (WaitForSingleObject(FInfo.hProcess, TimeoutMs) != WAIT_OBJECT_0)
            return -1;
        DWORD Code = 0;
        GetExitCodeProcess(FInfo.hProcess, &Code);
        return static_cast<long>(Code);
    }

private:
    PROCESS_INFORMATION FInfo{};
};

std::vector<HWND> ChildrenOfClass(HWND Parent, const char* Class)
{
    std::vector<HWND> Found;
    for (HWND Child = GetWindow(Parent, GW_CHILD); Child; Child = GetWindow(Child, GW_HWNDNEXT))
        if (lstrcmpiA(ClassOf(Child).c_str(), Class) == 0)
            Found.push_back(Child);
    return Found;
}

std::vector<std::string> ChildTexts(HWND Parent, const char* Class)
{
    std::vector<std::string> Texts;
    for (HWND Child : ChildrenOfClass(Parent, Class))
        Texts.push_back(Text(Child));
    return Texts;
}

HWND ChildWithText(HWND Parent, const char* Class, const std::string& Wanted)
{
    for (HWND Child : ChildrenOfClass(Parent, Class))
        if (Text(Child) == Wanted)
            return Child;
    return nullptr;
}

// Enter on the box's focused control, in the other program.
void PressEnterIn(HWND Box)
{
    GUITHREADINFO Info{};
    Info.cbSize = sizeof Info;
    GetGUIThreadInfo(GetWindowThreadProcessId(Box, nullptr), &Info);
    PostKey(Info.hwndFocus ? Info.hwndFocus : Box, VK_RETURN);
}

// Memory in the other program for list-view requests that carry a pointer.
class TRemoteItem {
public:
    TRemoteItem(HANDLE Process) : FProcess(Process)
    {
        FMemory = static_cast<char*>(VirtualAllocEx(Process, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        if (!FMemory)
            throw std::runtime_error("no memory in the program");
    }
    ~TRemoteItem() { VirtualFreeEx(FProcess, FMemory, 0, MEM_RELEASE); }
    TRemoteItem(const TRemoteItem&) = delete;
    TRemoteItem& operator=(const TRemoteItem&) = delete;

    std::string Text(HWND List, int Row, int Column)
    {
        LVITEMA Item{};
        Item.iSubItem = Column;
        Item.pszText = FMemory + sizeof(LVITEMA);
        Item.cchTextMax = 1024;
        WriteProcessMemory(FProcess, FMemory, &Item, sizeof Item, nullptr);
        const auto Length = SendMessageA(List, LVM_GETITEMTEXTA, static_cast<WPARAM>(Row), reinterpret_cast<LPARAM>(FMemory));
        char Buffer[1024] = {};
        ReadProcessMemory(FProcess, Item.pszText, Buffer, sizeof Buffer - 1, nullptr);
        return std::string(Buffer, static_cast<std::size_t>(std::max<LRESULT>(Length, 0)));
    }

    void Select(HWND List, int Row)
    {
        LVITEMA State{};
        State.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        State.state = LVIS_SELECTED | LVIS_FOCUSED;
        WriteProcessMemory(FProcess, FMemory, &State, sizeof State, nullptr);
        SendMessageA(List, LVM_SETITEMSTATE, static_cast<WPARAM>(Row), reinterpret_cast<LPARAM>(FMemory));
    }

private:
    HANDLE FProcess;
    char* FMemory = nullptr;
};

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

TEST_F(ProgramTest, AtAHigherSystemDpiTheMainWindowAndTheAboutBoxGrowWithIt)
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

    PostMessageA(ChildWithText(Main, "Button", "&About..."), BM_CLICK, 0, 0);
    const HWND About = Program->WaitForWindow("TFormAbout", "About...");
    ASSERT_TRUE(About);
    const SIZE Client = ClientSize(About);
    EXPECT_EQ(Client.cx, MulDiv(266, 144, 96));
    EXPECT_EQ(Client.cy, MulDiv(153, 144, 96));
    PostMessageA(About, WM_CLOSE, 0, 0);
    for (int I = 0; I < 100 && IsWindowVisible(About); ++I)
        Sleep(20);
    PostMessageA(Main, WM_CLOSE, 0, 0);
    EXPECT_EQ(Program->WaitForExit(), 0);
}

#include "ProgramSupport.h"

#include "GuiSupport.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace tol::test {

namespace {

struct TWindowQuery {
    DWORD ProcessId;
    const std::string& Class;
    const std::optional<std::string>& Caption; // none: any caption
    HWND Found;
};

BOOL CALLBACK FindProgramWindow(HWND Window, LPARAM Param)
{
    auto& Query = *reinterpret_cast<TWindowQuery*>(Param);
    DWORD Id = 0;
    GetWindowThreadProcessId(Window, &Id);
    if (Id == Query.ProcessId && IsWindowVisible(Window) && ClassOf(Window) == Query.Class
        && (!Query.Caption || Text(Window) == *Query.Caption)) {
        Query.Found = Window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

PROCESS_INFORMATION StartProcess(const std::string& FileName, const std::string& Folder)
{
    STARTUPINFOA Startup{};
    Startup.cb = sizeof Startup;
    std::string CommandLine = "\"" + FileName + "\"";
    PROCESS_INFORMATION Info{};
    if (!CreateProcessA(FileName.c_str(), CommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, Folder.c_str(),
                        &Startup, &Info))
        throw std::runtime_error("cannot start " + FileName);
    return Info;
}

TProgram::TProgram(const std::string& FileName, const std::string& Folder) : FInfo(StartProcess(FileName, Folder))
{
    CloseHandle(FInfo.hThread);
}

TProgram::~TProgram()
{
    if (WaitForSingleObject(FInfo.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(FInfo.hProcess, 99);
        WaitForSingleObject(FInfo.hProcess, 5000);
    }
    CloseHandle(FInfo.hProcess);
}

HWND TProgram::WaitForWindow(const std::string& Class, const std::string& Caption)
{
    for (int I = 0; I < 1000; ++I) {
        if (const HWND Window = FindWindow(Class, Caption))
            return Window;
        if (WaitForSingleObject(FInfo.hProcess, 20) == WAIT_OBJECT_0)
            return FindWindow(Class, Caption);
    }
    return nullptr;
}

HWND TProgram::FindWindow(const std::string& Class, const std::optional<std::string>& Caption) const
{
    TWindowQuery Query{FInfo.dwProcessId, Class, Caption, nullptr};
    EnumWindows(FindProgramWindow, reinterpret_cast<LPARAM>(&Query));
    return Query.Found;
}

long TProgram::WaitForExit(DWORD TimeoutMs) const
{
    if (WaitForSingleObject(FInfo.hProcess, TimeoutMs) != WAIT_OBJECT_0)
        return -1;
    DWORD Code = 0;
    GetExitCodeProcess(FInfo.hProcess, &Code);
    return static_cast<long>(Code);
}

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

void PressEnterIn(HWND Box)
{
    GUITHREADINFO Info{};
    Info.cbSize = sizeof Info;
    GetGUIThreadInfo(GetWindowThreadProcessId(Box, nullptr), &Info);
    PostKey(Info.hwndFocus ? Info.hwndFocus : Box, VK_RETURN);
}

TRemoteItem::TRemoteItem(HANDLE Process) : FProcess(Process)
{
    FMemory = static_cast<char*>(VirtualAllocEx(Process, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!FMemory)
        throw std::runtime_error("no memory in the program");
}

TRemoteItem::~TRemoteItem() { VirtualFreeEx(FProcess, FMemory, 0, MEM_RELEASE); }

std::string TRemoteItem::Text(HWND List, int Row, int Column)
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

void TRemoteItem::Select(HWND List, int Row)
{
    LVITEMA State{};
    State.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    State.state = LVIS_SELECTED | LVIS_FOCUSED;
    WriteProcessMemory(FProcess, FMemory, &State, sizeof State, nullptr);
    SendMessageA(List, LVM_SETITEMSTATE, static_cast<WPARAM>(Row), reinterpret_cast<LPARAM>(FMemory));
}

RECT TRemoteItem::IconRect(HWND List, int Row)
{
    RECT Rect{LVIR_ICON, 0, 0, 0};
    WriteProcessMemory(FProcess, FMemory, &Rect, sizeof Rect, nullptr);
    SendMessageA(List, LVM_GETITEMRECT, static_cast<WPARAM>(Row), reinterpret_cast<LPARAM>(FMemory));
    ReadProcessMemory(FProcess, FMemory, &Rect, sizeof Rect, nullptr);
    return Rect;
}

} // namespace tol::test

#include "RemoteWindows.h"

#include <commctrl.h>

#include <stdexcept>

namespace tol::remote {

namespace {

std::string ClassName(HWND Window)
{
    char Buffer[256] = {};
    const int Length = GetClassNameA(Window, Buffer, sizeof Buffer);
    return std::string(Buffer, static_cast<std::size_t>(Length > 0 ? Length : 0));
}

struct TSearch {
    const char* Class;
    const char* Caption;
    DWORD ProcessId;
    bool VisibleOnly;
    HWND Found;
};

BOOL CALLBACK MatchWindow(HWND Window, LPARAM Param)
{
    auto& Search = *reinterpret_cast<TSearch*>(Param);
    if (Search.VisibleOnly && !IsWindowVisible(Window))
        return TRUE;
    if (ClassName(Window) != Search.Class)
        return TRUE;
    DWORD Owner = 0;
    GetWindowThreadProcessId(Window, &Owner);
    if (Search.ProcessId != 0 && Owner != Search.ProcessId)
        return TRUE;
    if (Search.Caption != nullptr && WindowText(Window) != Search.Caption)
        return TRUE;
    Search.Found = Window;
    return FALSE;
}

HWND Find(const char* Class, const char* Caption, DWORD ProcessId, bool VisibleOnly)
{
    TSearch Search{Class, Caption, ProcessId, VisibleOnly, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&Search));
    return Search.Found;
}

struct TDialogSearch {
    DWORD ProcessId;
    std::vector<std::string> Texts;
};

BOOL CALLBACK CollectStatic(HWND Child, LPARAM Param)
{
    auto& Text = *reinterpret_cast<std::string*>(Param);
    if (ClassName(Child) == "Static") {
        const std::string Part = WindowText(Child);
        if (!Part.empty())
            Text += (Text.empty() ? "" : " / ") + Part;
    }
    return TRUE;
}

BOOL CALLBACK CollectDialog(HWND Window, LPARAM Param)
{
    auto& Search = *reinterpret_cast<TDialogSearch*>(Param);
    DWORD Owner = 0;
    GetWindowThreadProcessId(Window, &Owner);
    if (Owner != Search.ProcessId || !IsWindowVisible(Window) || ClassName(Window) != "#32770")
        return TRUE;
    std::string Text = WindowText(Window) + ": ";
    std::string Body;
    EnumChildWindows(Window, CollectStatic, reinterpret_cast<LPARAM>(&Body));
    Search.Texts.push_back(Text + Body);
    return TRUE;
}

constexpr std::size_t TextCapacity = 1024;

} // namespace

HWND FindTopWindow(const char* Class, const char* Caption, DWORD ProcessId)
{
    return Find(Class, Caption, ProcessId, true);
}

HWND WaitForTopWindow(const char* Class, const char* Caption, DWORD ProcessId, DWORD TimeoutMs)
{
    const DWORD Start = GetTickCount();
    for (;;) {
        if (const HWND Window = FindTopWindow(Class, Caption, ProcessId))
            return Window;
        if (GetTickCount() - Start >= TimeoutMs)
            return nullptr;
        Sleep(50);
    }
}

bool WaitUntilGone(const char* Class, const char* Caption, DWORD TimeoutMs)
{
    const DWORD Start = GetTickCount();
    while (Find(Class, Caption, 0, false) != nullptr) {
        if (GetTickCount() - Start >= TimeoutMs)
            return false;
        Sleep(50);
    }
    return true;
}

std::string WindowText(HWND Window)
{
    std::vector<char> Buffer(TextCapacity, '\0');
    DWORD_PTR Length = 0;
    if (!SendMessageTimeoutA(Window, WM_GETTEXT, Buffer.size(), reinterpret_cast<LPARAM>(Buffer.data()),
                             SMTO_ABORTIFHUNG, 5000, &Length))
        return {};
    return std::string(Buffer.data(), std::min<std::size_t>(Length, Buffer.size() - 1));
}

std::vector<std::string> DialogTexts(DWORD ProcessId)
{
    TDialogSearch Search{ProcessId, {}};
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&Search));
    return Search.Texts;
}

TRemoteListView::TRemoteListView(HWND ListView) : FListView(ListView)
{
    DWORD ProcessId = 0;
    GetWindowThreadProcessId(ListView, &ProcessId);
    FProcess = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                           FALSE, ProcessId);
    if (FProcess == nullptr)
        throw std::runtime_error("cannot open the list view's process");
    FBlock = static_cast<char*>(
        VirtualAllocEx(FProcess, nullptr, sizeof(LVITEMA) + TextCapacity, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (FBlock == nullptr) {
        CloseHandle(FProcess);
        throw std::runtime_error("cannot reserve memory in the list view's process");
    }
}

TRemoteListView::~TRemoteListView()
{
    VirtualFreeEx(FProcess, FBlock, 0, MEM_RELEASE);
    CloseHandle(FProcess);
}

int TRemoteListView::Count() const
{
    return static_cast<int>(SendMessageA(FListView, LVM_GETITEMCOUNT, 0, 0));
}

std::string TRemoteListView::Text(int Row, int Column) const
{
    LVITEMA Item{};
    Item.iSubItem = Column;
    Item.pszText = FBlock + sizeof(LVITEMA);
    Item.cchTextMax = static_cast<int>(TextCapacity);
    const char Empty[TextCapacity] = {};
    if (!WriteProcessMemory(FProcess, FBlock, &Item, sizeof Item, nullptr)
        || !WriteProcessMemory(FProcess, FBlock + sizeof(LVITEMA), Empty, sizeof Empty, nullptr))
        throw std::runtime_error("cannot write into the list view's process");
    const auto Length = SendMessageA(FListView, LVM_GETITEMTEXTA, static_cast<WPARAM>(Row),
                                     reinterpret_cast<LPARAM>(FBlock));
    char Text[TextCapacity] = {};
    if (!ReadProcessMemory(FProcess, FBlock + sizeof(LVITEMA), Text, sizeof Text, nullptr))
        throw std::runtime_error("cannot read from the list view's process");
    return std::string(Text, std::min<std::size_t>(static_cast<std::size_t>(Length), TextCapacity - 1));
}

void TRemoteListView::Select(int Row)
{
    LVITEMA State{};
    State.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    State.state = LVIS_SELECTED | LVIS_FOCUSED;
    if (!WriteProcessMemory(FProcess, FBlock, &State, sizeof State, nullptr))
        throw std::runtime_error("cannot write into the list view's process");
    if (!SendMessageA(FListView, LVM_SETITEMSTATE, static_cast<WPARAM>(Row), reinterpret_cast<LPARAM>(FBlock)))
        throw std::runtime_error("the list view refused to select row " + std::to_string(Row));
    SendMessageA(FListView, LVM_ENSUREVISIBLE, static_cast<WPARAM>(Row), FALSE);
}

int TRemoteListView::Selected() const
{
    return static_cast<int>(SendMessageA(FListView, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

} // namespace tol::remote

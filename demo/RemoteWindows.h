// Reading and driving another process's windows with real messages, for the demo
// driver and the release test. List-view messages carry pointers, which the system
// does not carry across processes: their records live in a block of memory inside
// the target process (VirtualAllocEx), written and read with Write/ReadProcessMemory.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tol::remote {

// A visible top-level window of Class whose caption is Caption (any when null) and
// that belongs to ProcessId (any process when 0); null when there is none.
HWND FindTopWindow(const char* Class, const char* Caption, DWORD ProcessId);

// As FindTopWindow, asked again every 50 ms until TimeoutMs has passed.
HWND WaitForTopWindow(const char* Class, const char* Caption, DWORD ProcessId, DWORD TimeoutMs);

// True once no window of Class (with Caption, when given) exists; false after TimeoutMs.
bool WaitUntilGone(const char* Class, const char* Caption, DWORD TimeoutMs);

// A window's text through WM_GETTEXT, which the system carries across processes.
std::string WindowText(HWND Window);

// The texts of the dialog boxes ("#32770") ProcessId shows, with their static texts.
std::vector<std::string> DialogTexts(DWORD ProcessId);

// A list view of another process, reached through a block of that process's memory.
class TRemoteListView {
public:
    explicit TRemoteListView(HWND ListView);
    ~TRemoteListView();
    TRemoteListView(const TRemoteListView&) = delete;
    TRemoteListView& operator=(const TRemoteListView&) = delete;

    int Count() const;
    // The text of a row's column (0: the item itself); raises when it cannot be read.
    std::string Text(int Row, int Column) const;
    // Selects and focuses Row alone, as a click would, and scrolls it into view.
    void Select(int Row);
    // The first selected row; -1 when none is.
    int Selected() const;

private:
    HWND FListView;
    HANDLE FProcess = nullptr;
    char* FBlock = nullptr; // in the other process: an LVITEMA, then the text buffer
};

} // namespace tol::remote

// The real TOL.exe (or any program) started as a separate process, and its windows
// read and driven from outside, as a player's clicks and eyes would reach them.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace tol::test {

// Starts FileName with Folder as its working folder and its own quoted name as its
// command line, as a player's double-click does; raises std::runtime_error when the
// system cannot start it. The caller closes both handles.
PROCESS_INFORMATION StartProcess(const std::string& FileName, const std::string& Folder);

// A started program; ended by force at the end if it is still running.
class TProgram {
public:
    TProgram(const std::string& FileName, const std::string& Folder);
    ~TProgram();
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;

    HANDLE Process() const { return FInfo.hProcess; }

    // A visible top-level window of the program; none when it does not come or the
    // program ends first.
    HWND WaitForWindow(const std::string& Class, const std::string& Caption);
    // The same without waiting; with no caption, a window of the class with any caption.
    HWND FindWindow(const std::string& Class, const std::optional<std::string>& Caption = std::nullopt) const;

    // The exit code; -1 when the program is still running after the timeout.
    long WaitForExit(DWORD TimeoutMs = 20000) const;

private:
    PROCESS_INFORMATION FInfo{};
};

std::vector<HWND> ChildrenOfClass(HWND Parent, const char* Class);
std::vector<std::string> ChildTexts(HWND Parent, const char* Class);
HWND ChildWithText(HWND Parent, const char* Class, const std::string& Wanted);

// Enter on the box's focused control, in the other program.
void PressEnterIn(HWND Box);

// Memory in the other program for list-view requests that carry a pointer.
class TRemoteItem {
public:
    explicit TRemoteItem(HANDLE Process);
    ~TRemoteItem();
    TRemoteItem(const TRemoteItem&) = delete;
    TRemoteItem& operator=(const TRemoteItem&) = delete;

    std::string Text(HWND List, int Row, int Column);
    void Select(HWND List, int Row);
    RECT IconRect(HWND List, int Row); // where the row's picture is drawn

private:
    HANDLE FProcess;
    char* FMemory = nullptr;
};

} // namespace tol::test

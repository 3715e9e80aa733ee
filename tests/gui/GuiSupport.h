// What the window tests share beside the library: the program's own message loop run
// until the thread is idle, and the Wine setting that spares each hidden window a wait.
#pragma once

#include "TestSupport.h"

#include <windows.h>

#include <string>

namespace tol::test {

// Runs the program's message loop (RunMessageLoop) until the thread has nothing left
// to do and Main is enabled (no modal box of it is open). Returns PumpIdle, the
// program's own quit code when it ended the loop, or PumpTimeout.
enum : int { PumpIdle = 0x7701, PumpTimeout = 0x7702 };
int Pump(HWND Main, DWORD TimeoutMs = 20000);

// Under Wine with no window manager on the display, hiding a window that Wine's X11
// driver manages waits about 2 s for a manager that never answers. For the object's
// lifetime, Wine manages no window of the named program itself (the driver reads this
// when a process first uses the display). Nothing happens on Windows.
class TUnmanagedWindows {
public:
    explicit TUnmanagedWindows(const std::string& ProgramName);
    ~TUnmanagedWindows();
    TUnmanagedWindows(const TUnmanagedWindows&) = delete;
    TUnmanagedWindows& operator=(const TUnmanagedWindows&) = delete;
    // True when this object made the setting, which then holds for programs started later.
    bool Made() const noexcept { return FCreated; }

private:
    std::string FKey;
    bool FCreated = false;
};

} // namespace tol::test

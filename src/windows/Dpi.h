// Layouts are written in pixels at 96 dots per inch and scaled to the dots per inch of
// the window they are in: each window has its own, that of the monitor it is on, and
// takes another when it moves to a monitor of another scale (WM_DPICHANGED).
#pragma once

#include <windows.h>

namespace tol {

int SystemDpi() noexcept;

// The dots per inch of the monitor Window is on (GetDpiForWindow, Windows 10 1607 on);
// the system's where the system cannot tell (Windows 7 and 8.x, an older Wine).
int MonitorDpi(HWND Window) noexcept;

// The dots per inch Window lays itself out at: what it keeps (KeepDpi), else MonitorDpi.
int DpiOf(HWND Window) noexcept;

// Keeps Dpi as the one Window lays itself out at, for DpiOf and the boxes it owns; 0
// forgets it.
void KeepDpi(HWND Window, int Dpi) noexcept;

inline int Scale(int Value, int Dpi) noexcept { return ::MulDiv(Value, Dpi, 96); }

} // namespace tol

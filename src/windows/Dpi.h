// Layouts are written in pixels at 96 dots per inch and scaled to the system's.
#pragma once

#include <windows.h>

namespace tol {

int SystemDpi() noexcept;

inline int Scale(int Value) noexcept { return ::MulDiv(Value, SystemDpi(), 96); }

} // namespace tol

// Layouts are written in pixels at 96 dots per inch and scaled to the system's.
#pragma once

#include <windows.h>

namespace tol {

int SystemDpi() noexcept;

inline int Scale(int Value) noexcept { return ::MulDiv(Value, SystemDpi(), 96); }

inline RECT ScaleRect(int Left, int Top, int Width, int Height) noexcept
{
    return RECT{Scale(Left), Scale(Top), Scale(Left + Width), Scale(Top + Height)};
}

} // namespace tol

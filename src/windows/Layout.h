// The windows' layout engine: each control's rectangle is written at 96 dots per inch
// in a panel of its window, with the edges of the panel it keeps its distance to when
// the window is resized, and placed at the window's scale.
#pragma once

#include <windows.h>

namespace tol {

struct TRect96 {
    int Left, Top, Width, Height;
};

// The edges of its panel a rectangle keeps its distance to when the panel is resized:
// left and right both, and it stretches; right alone, and it moves along.
enum : unsigned { AnchorLeft = 1, AnchorTop = 2, AnchorRight = 4, AnchorBottom = 8 };
inline constexpr unsigned AnchorTopLeft = AnchorLeft | AnchorTop,
                          AnchorAll = AnchorLeft | AnchorTop | AnchorRight | AnchorBottom;

// Bounds, written in a panel that was PanelDesign at 96 dots per inch, placed in the
// panel as it is now: its start and size are scaled each (as the window was drawn),
// and an edge anchored to the panel's far side keeps its scaled distance to it.
RECT Place(const TRect96& Bounds, unsigned Anchors, const RECT& Panel, const TRect96& PanelDesign, int Dpi);

// Bounds placed in a window that is never resized, from its client area's corner.
RECT Place(const TRect96& Bounds, int Dpi);

} // namespace tol

#include "Layout.h"

#include "Dpi.h"

#include <algorithm>
#include <utility>

namespace tol {

namespace {

// One side of a rectangle placed in a span of its panel, which was DesignLength long at
// 96 DPI.
std::pair<int, int> PlaceSpan(int Start, int Length, bool NearAnchor, bool FarAnchor, int Near, int Far,
                              int DesignLength, int Dpi)
{
    const int FarEdge = Far - Scale(DesignLength - Start - Length, Dpi);
    if (FarAnchor && !NearAnchor)
        return {FarEdge - Scale(Length, Dpi), FarEdge};
    const int NearEdge = Near + Scale(Start, Dpi);
    return {NearEdge, FarAnchor ? FarEdge : NearEdge + Scale(Length, Dpi)};
}

} // namespace

RECT Place(const TRect96& Bounds, unsigned Anchors, const RECT& Panel, const TRect96& PanelDesign, int Dpi)
{
    const auto [Left, Right] = PlaceSpan(Bounds.Left, Bounds.Width, Anchors & AnchorLeft, Anchors & AnchorRight,
                                         Panel.left, Panel.right, PanelDesign.Width, Dpi);
    const auto [Top, Bottom] = PlaceSpan(Bounds.Top, Bounds.Height, Anchors & AnchorTop, Anchors & AnchorBottom,
                                         Panel.top, Panel.bottom, PanelDesign.Height, Dpi);
    return RECT{Left, Top, std::max(Right, Left), std::max(Bottom, Top)};
}

RECT Place(const TRect96& Bounds, int Dpi) { return Place(Bounds, AnchorTopLeft, RECT{}, TRect96{}, Dpi); }

} // namespace tol

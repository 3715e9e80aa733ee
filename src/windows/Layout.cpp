#include "Layout.h"

#include "Dpi.h"

#include <algorithm>
#include <utility>

namespace tol {

namespace {

// One side of a rectangle placed in a span of its panel, which was DesignLength long at
// 96 DPI.
std::pair<int, int> PlaceSpan(int Start, int Length, bool NearAnchor, bool FarAnchor, int Near, int Far,
                              int DesignLength)
{
    const int FarEdge = Far - Scale(DesignLength - Start - Length);
    if (FarAnchor && !NearAnchor)
        return {FarEdge - Scale(Length), FarEdge};
    const int NearEdge = Near + Scale(Start);
    return {NearEdge, FarAnchor ? FarEdge : NearEdge + Scale(Length)};
}

} // namespace

RECT Place(const TRect96& Bounds, unsigned Anchors, const RECT& Panel, const TRect96& PanelDesign)
{
    const auto [Left, Right] = PlaceSpan(Bounds.Left, Bounds.Width, Anchors & AnchorLeft, Anchors & AnchorRight,
                                         Panel.left, Panel.right, PanelDesign.Width);
    const auto [Top, Bottom] = PlaceSpan(Bounds.Top, Bounds.Height, Anchors & AnchorTop, Anchors & AnchorBottom,
                                         Panel.top, Panel.bottom, PanelDesign.Height);
    return RECT{Left, Top, std::max(Right, Left), std::max(Bottom, Top)};
}

RECT Place(const TRect96& Bounds) { return Place(Bounds, AnchorTopLeft, RECT{}, TRect96{}); }

} // namespace tol

// The program's pictures at the size they have at a window's dots per inch. Each
// icon resource holds every size the steps of 96, 144 and 192 dots per inch ask for,
// and the badge has one bitmap per step (res/art/make-art draws them); between the
// steps the system scales the nearest. An icon or the badge the system cannot give is
// null, and its control shows none: the window works without it. An image list the
// system cannot make raises, as a control it cannot make does.
#pragma once

#include "GdiOwners.h"

#include <windows.h>

#include <initializer_list>

namespace tol {

// The icon Id, Size96 pixels square at 96 dots per inch, at Dpi.
TIcon LoadIconAtScale(int Id, int Size96, int Dpi);

// An image list of the icons, in this order, each Size96 pixels square at 96 dots per
// inch, at Dpi.
TImageList CreateImageListAtScale(int Size96, std::initializer_list<int> IconIds, int Dpi);

// Gives the toolbar the image list, with buttons sized for its pictures: a button
// keeps the margin around its picture that it has at 96 dots per inch, scaled to Dpi.
void SetToolBarImageList(HWND ToolBar, HIMAGELIST List, int Dpi);

// The About box's badge, 110 x 36 at 96 dots per inch: the bitmap drawn for the step
// nearest Dpi, stretched to its exact scaled size.
TBitmap LoadBadgeAtScale(int Dpi);

} // namespace tol

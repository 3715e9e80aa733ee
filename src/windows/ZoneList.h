// The main window's zone list: an owner-data list whose rows are drawn from Zones as
// they come into view, so a long catalogue costs the start-up nothing, and its
// type-ahead.
#pragma once

#include "GlobalImp.h"

#include <windows.h>

namespace tol {

// The zone of Row; none for a row outside the catalogue.
const TZone* ZoneAt(int Row);

// Answers the list's notifications: its rows' texts and pictures, and its search for
// a row by the letters typed. Others are answered with 0.
LRESULT ListViewZonesNotify(NMHDR& Header);

} // namespace tol

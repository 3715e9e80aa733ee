// The compatibility settings a player made for a program (its Properties, the
// Compatibility page), as Windows keeps them under the program's full path: layer
// names separated by blanks, after markers of Windows' own ("~", "$", "#" ...).
#pragma once

#include <string>
#include <string_view>

namespace tol {

// The layer names of such a value, one blank between two, without the markers: what
// "__COMPAT_LAYER" takes. "~ WINXPSP3 RUNASADMIN" gives "WINXPSP3 RUNASADMIN".
std::string CompatLayerNames(std::string_view Value);

} // namespace tol

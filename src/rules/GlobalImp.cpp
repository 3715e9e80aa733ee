#include "GlobalImp.h"

#include <algorithm>

namespace tol {

TZoneName StringToZoneName(std::string_view S)
{
    TZoneName Result{};
    std::copy_n(S.begin(), std::min(S.size(), Result.size()), Result.begin());
    return Result;
}

TZone ParseZoneLine(std::string_view Line)
{
    // Positions as in the catalogue's description: P1 the first "=", P2 the first
    // "|" or one past the end when there is none.
    const auto P1 = std::min(Line.find('='), Line.size());
    const auto Bar = Line.find('|');
    const auto P2 = Bar == std::string_view::npos ? Line.size() : Bar;

    TZone Zone;
    Zone.Name = Line.substr(0, P1);
    if (P2 > P1)
        Zone.InternalName = Line.substr(P1 + 1, P2 - P1 - 1);
    if (Bar != std::string_view::npos)
        Zone.Status = Line.substr(P2 + 1);
    return Zone;
}

} // namespace tol

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
    const auto Equals = std::min(Line.find('='), Line.size());
    const auto Bar = Line.find('|');
    const auto InternalEnd = Bar == std::string_view::npos ? Line.size() : Bar;

    TZone Zone;
    Zone.Name = Line.substr(0, Equals);
    if (InternalEnd > Equals)
        Zone.InternalName = Line.substr(Equals + 1, InternalEnd - Equals - 1);
    if (Bar != std::string_view::npos)
        Zone.Status = Line.substr(Bar + 1);
    return Zone;
}

} // namespace tol

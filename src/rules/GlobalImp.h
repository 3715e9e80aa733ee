// The records every layer shares: a zone of the catalogue and the fixed-width field
// its internal name is written into.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace tol {

struct TZone {
    std::string Name;         // shown in the list
    std::string InternalName; // written into the copy
    std::string Status;       // free text shown in the list
};

// The zone-name field of the tutorial program: the name's first 12 characters,
// padded with zero bytes.
constexpr std::size_t ZoneFieldSize = 12;
using TZoneName = std::array<char, ZoneFieldSize>;

TZoneName StringToZoneName(std::string_view S);

// A catalogue line "Name=Internal|Status" split at its first "=" and its first "|".
// Nothing is trimmed; a "|" inside the name leaves the internal name empty.
TZone ParseZoneLine(std::string_view Line);

} // namespace tol

#include "CompatLayers.h"

#include <algorithm>

namespace tol {

std::string CompatLayerNames(std::string_view Value)
{
    const auto IsNameCharacter = [](char C) {
        return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || (C >= '0' && C <= '9') || C == '_';
    };
    std::string Names;
    for (std::size_t Start = 0; Start < Value.size();) {
        const auto End = std::min(Value.find_first_of(" \t", Start), Value.size());
        const auto Word = Value.substr(Start, End - Start);
        // A marker is a word without a letter or digit in it.
        if (std::any_of(Word.begin(), Word.end(), IsNameCharacter))
            Names.append(Names.empty() ? "" : " ").append(Word);
        Start = End + 1;
    }
    return Names;
}

} // namespace tol

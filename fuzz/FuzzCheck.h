// What every fuzz target shares: a property that does not hold stops the run with the
// input kept by the fuzzer, and a line saying which property broke.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace tol::fuzz {

inline void Check(bool Holds, const char* Property)
{
    if (!Holds) {
        std::fprintf(stderr, "property broken: %s\n", Property);
        std::abort();
    }
}

inline std::string_view AsText(const unsigned char* Data, std::size_t Size)
{
    return {reinterpret_cast<const char*>(Data), Size};
}

} // namespace tol::fuzz

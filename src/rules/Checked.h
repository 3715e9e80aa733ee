// Arithmetic that fails instead of wrapping round: an overflow is "Integer overflow",
// a value that does not fit its target type is "Range check error".
#pragma once

#include "Errors.h"

#include <concepts>
#include <utility>

namespace tol {

template <std::integral T>
T CheckedMul(T A, T B)
{
    T Result;
    if (__builtin_mul_overflow(A, B, &Result))
        throw EIntOverflow();
    return Result;
}

template <std::integral To, std::integral From>
To CheckedNarrow(From Value)
{
    if (!std::in_range<To>(Value))
        throw ERangeError();
    return static_cast<To>(Value);
}

} // namespace tol

// Integer text as the settings file and the offset box take it: blanks (spaces only)
// in front, then a decimal number with an optional sign or a hexadecimal number after
// "$", "x", "X", "0x" or "0X" read as a 32-bit pattern, and nothing after the digits.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tol {

std::optional<std::int32_t> TryStrToInt(std::string_view Text);

// As TryStrToInt, but a text that is not an integer raises EConvertError.
std::int32_t StrToInt(std::string_view Text);

} // namespace tol

#include "IntRules.h"

#include "Errors.h"

namespace tol {

namespace {

int DigitValue(char C, unsigned Base)
{
    if (C >= '0' && C <= '9')
        return C - '0';
    if (Base == 16 && C >= 'a' && C <= 'f')
        return C - 'a' + 10;
    if (Base == 16 && C >= 'A' && C <= 'F')
        return C - 'A' + 10;
    return -1;
}

// The digits must be all of Digits; the value must stay within Limit.
std::optional<std::uint32_t> ParseDigits(std::string_view Digits, unsigned Base, std::uint64_t Limit)
{
    if (Digits.empty())
        return std::nullopt;
    std::uint64_t Value = 0;
    for (char C : Digits) {
        const int D = DigitValue(C, Base);
        if (D < 0)
            return std::nullopt;
        Value = Value * Base + static_cast<unsigned>(D);
        if (Value > Limit)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(Value);
}

} // namespace

std::optional<std::int32_t> TryStrToInt(std::string_view Text)
{
    std::string_view S = Text;
    while (!S.empty() && S.front() == ' ')
        S.remove_prefix(1);
    if (S.empty())
        return std::nullopt;

    for (std::string_view Introducer : {"$", "0x", "0X", "x", "X"}) {
        if (S.starts_with(Introducer)) {
            const auto Pattern = ParseDigits(S.substr(Introducer.size()), 16, 0xFFFFFFFFu);
            if (!Pattern)
                return std::nullopt;
            return static_cast<std::int32_t>(*Pattern);
        }
    }

    const bool Negative = S.front() == '-';
    if (S.front() == '-' || S.front() == '+')
        S.remove_prefix(1);
    const auto Magnitude = ParseDigits(S, 10, Negative ? 2147483648u : 2147483647u);
    if (!Magnitude)
        return std::nullopt;
    return Negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(*Magnitude))
                    : static_cast<std::int32_t>(*Magnitude);
}

std::int32_t StrToInt(std::string_view Text)
{
    if (const auto Value = TryStrToInt(Text))
        return *Value;
    throw EConvertError(Text);
}

} // namespace tol

// The integer rules against the standard library's own number reading, and every
// value they give formatted back in both forms.
#include "FuzzCheck.h"

#include "Errors.h"
#include "IntRules.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>

using namespace tol;
using namespace tol::fuzz;

namespace {

// All of Digits as one number in Base no greater than Limit, or nothing.
std::optional<std::int64_t> WholeNumber(std::string_view Digits, int Base, std::int64_t Limit)
{
    std::int64_t Value = 0;
    const auto [End, Error] = std::from_chars(Digits.data(), Digits.data() + Digits.size(), Value, Base);
    if (Digits.empty() || Error != std::errc() || End != Digits.data() + Digits.size() || Value < 0 || Value > Limit)
        return std::nullopt;
    return Value;
}

// What the rules say, read another way: blanks, then a hexadecimal pattern after its
// introducer, or a sign and decimal digits.
std::optional<std::int32_t> Expected(std::string_view Text)
{
    Text.remove_prefix(std::min(Text.find_first_not_of(' '), Text.size()));
    for (std::string_view Introducer : {"$", "0x", "0X", "x", "X"})
        if (Text.starts_with(Introducer)) {
            const auto Digits = Text.substr(Introducer.size());
            // from_chars takes a sign of its own; the rules take none after the introducer.
            if (!Digits.empty() && Digits.front() == '-')
                return std::nullopt;
            const auto Pattern = WholeNumber(Digits, 16, 0xFFFFFFFF);
            if (!Pattern)
                return std::nullopt;
            return static_cast<std::int32_t>(static_cast<std::uint32_t>(*Pattern));
        }
    const bool Negative = !Text.empty() && Text.front() == '-';
    if (!Text.empty() && (Text.front() == '-' || Text.front() == '+'))
        Text.remove_prefix(1);
    if (!Text.empty() && Text.front() == '-')
        return std::nullopt;
    const auto Magnitude = WholeNumber(Text, 10, Negative ? 2147483648 : 2147483647);
    if (!Magnitude)
        return std::nullopt;
    return static_cast<std::int32_t>(Negative ? -*Magnitude : *Magnitude);
}

std::string Hexadecimal(std::int32_t Value)
{
    char Buffer[16];
    const auto End = std::to_chars(Buffer, Buffer + sizeof Buffer, static_cast<std::uint32_t>(Value), 16).ptr;
    return std::string(Buffer, End);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* Data, std::size_t Size)
{
    const std::string_view Text = AsText(Data, Size);
    const auto Value = TryStrToInt(Text);
    Check(Value == Expected(Text), "the rules read a text as the standard library reads it");

    if (Value) {
        Check(StrToInt(Text) == *Value, "StrToInt gives what TryStrToInt gives");
        Check(TryStrToInt(std::to_string(*Value)) == Value, "a value formatted in decimal reads back");
        Check(TryStrToInt("$" + Hexadecimal(*Value)) == Value, "a value formatted after \"$\" reads back");
        Check(TryStrToInt("0x" + Hexadecimal(*Value)) == Value, "a value formatted after \"0x\" reads back");
        Check(TryStrToInt("  " + std::string(Text)) == Value, "blanks in front change nothing");
    } else {
        try {
            StrToInt(Text);
            Check(false, "StrToInt raises where TryStrToInt fails");
        } catch (const EConvertError& E) {
            // A message is shown as a zero-ended text; neither a box nor a settings
            // value can hold a zero byte anyway.
            const std::string Wanted = "'" + std::string(Text) + "' is not a valid integer value";
            Check(E.what() == Wanted.substr(0, Wanted.find('\0')), "the failure quotes the text exactly as given");
        }
    }
    Check(!TryStrToInt(std::string(Text) + " "), "nothing may follow the digits, not even a blank");
    return 0;
}

#include "IniFileImp.h"

#include "Checked.h"
#include "SectionLines.h"

#include <windows.h>

#include <map>
#include <optional>

namespace tol {

namespace {

constexpr DWORD ValueBufferSize = 2048;
constexpr DWORD ListBufferSize = 16384;

// Values this long are left to the service's own reading, which cuts them at 2047
// characters.
constexpr std::size_t LongestDirectValue = 2000;

// Names match as the user locale compares them without regard to letter case
// (CompareStringA with NORM_IGNORECASE). The locale's sort key for the same flags
// compares bytewise as CompareStringA compares the names, and is made once per name
// instead of once per comparison.
std::string NameKey(const std::string& Name)
{
    if (Name.empty())
        return {};
    const int Source = CheckedNarrow<int>(Name.size());
    std::string Key(static_cast<std::size_t>(
                        ::LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, Name.data(), Source, nullptr, 0)),
                    '\0');
    if (Key.empty())
        return Name;
    Key.resize(static_cast<std::size_t>(::LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, Name.data(),
                                                       Source, Key.data(), CheckedNarrow<int>(Key.size()))));
    return Key;
}

// A list of zero-ended strings, as the service fills a buffer with a section's key
// names or lines. The buffer grows while the service reports it cut (it then returns
// size - 2; Windows ends such a list with two zeros and Wine with one, so only the
// count returned is trusted).
template <typename TRequest>
std::vector<std::string> ReadList(TRequest Request)
{
    std::vector<char> Buffer(ListBufferSize);
    for (;;) {
        std::fill(Buffer.begin(), Buffer.end(), '\0');
        const DWORD Size = CheckedNarrow<DWORD>(Buffer.size());
        const DWORD Count = Request(Buffer.data(), Size);
        if (Count + 2 < Size) {
            std::vector<std::string> Items;
            for (const char *P = Buffer.data(), *End = P + Count; P < End && *P; P += Items.back().size() + 1)
                Items.emplace_back(P);
            return Items;
        }
        Buffer.resize(CheckedMul<std::size_t>(Buffer.size(), 2));
    }
}

// True when the service's reading of a key and of its section line surely agree on
// Text (a key or a value): it has no blank or tab at either end, and, as a value, no
// quote in front and no length near the cut. Wine's section reading trims blanks and
// keeps quotes; Windows' is not proven to trim alike.
bool ReadsAlike(const std::string& Text, bool IsValue)
{
    const auto Blank = [](char C) { return C == ' ' || C == '\t'; };
    if (Text.empty())
        return true;
    if (Blank(Text.front()) || Blank(Text.back()))
        return false;
    return !IsValue || (Text.front() != '"' && Text.front() != '\'' && Text.size() < LongestDirectValue);
}

// The values the section's lines give for their keys, by the key as the lines spell
// it: only for a line that is exactly "key=value" as every service reads it alike,
// and a key whose name occurs once in any letter case.
std::map<std::string, std::string> ReadDirectValues(const std::string& Section, const std::string& FileName)
{
    const auto Lines = ReadList([&](char* Buffer, DWORD Size) {
        return ::GetPrivateProfileSectionA(Section.c_str(), Buffer, Size, FileName.c_str());
    });
    struct TDirectValue {
        std::string Key;
        std::optional<std::string> Value;
    };
    std::map<std::string, TDirectValue> ByNameKey;
    for (const auto& Line : Lines) {
        const auto Eq = Line.find('=');
        TDirectValue Direct{Line.substr(0, Eq), std::nullopt};
        if (Eq != std::string::npos && ReadsAlike(Direct.Key, false) && ReadsAlike(Line.substr(Eq + 1), true))
            Direct.Value = Line.substr(Eq + 1);
        const auto [It, Inserted] = ByNameKey.try_emplace(NameKey(Direct.Key), std::move(Direct));
        if (!Inserted)
            It->second.Value.reset();
    }
    std::map<std::string, std::string> Values;
    for (auto& [Key, Direct] : ByNameKey)
        if (Direct.Value)
            Values.emplace(std::move(Direct.Key), std::move(*Direct.Value));
    return Values;
}

} // namespace

TIniFile::TIniFile(std::string FileName) : FFileName(std::move(FileName)) {}

std::string TIniFile::ReadString(const std::string& Section, const std::string& Key,
                                 const std::string& Default) const
{
    char Buffer[ValueBufferSize];
    const DWORD Count = ::GetPrivateProfileStringA(Section.c_str(), Key.c_str(), Default.c_str(), Buffer,
                                                   ValueBufferSize, FFileName.c_str());
    return std::string(Buffer, std::min(Count, ValueBufferSize - 1));
}

void TIniFile::ReadSection(const std::string& Section, std::vector<std::string>& Names) const
{
    Names = ReadList([&](char* Buffer, DWORD Size) {
        return ::GetPrivateProfileStringA(Section.c_str(), nullptr, "", Buffer, Size, FFileName.c_str());
    });
}

void TIniFile::ReadSectionValues(const std::string& Section, std::vector<std::string>& Lines) const
{
    std::vector<std::string> Names;
    ReadSection(Section, Names);

    // One request per key is slow (the service parses the file each time), so the
    // section is read whole once, and the service is asked per key only where its own
    // reading could differ from the section's lines: quotes, long values, names that
    // occur twice, names the lines do not show as they were listed.
    const auto DirectValues = ReadDirectValues(Section, FFileName);

    TSectionLines Merged(Lines, NameKey);
    for (const auto& Name : Names) {
        const auto Direct = DirectValues.find(Name);
        Merged.Merge(Name, Direct != DirectValues.end() ? Direct->second : ReadString(Section, Name, ""));
    }
    Lines = Merged.Lines();
}

} // namespace tol

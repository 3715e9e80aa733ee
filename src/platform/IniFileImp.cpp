#include "IniFileImp.h"

#include "Checked.h"
#include "SectionLines.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string_view>
#include <unordered_map>

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
    constexpr DWORD Flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    const int Source = CheckedNarrow<int>(Name.size());
    // A short name's key fits the first request; only a long one needs its size asked.
    char Short[256];
    if (const int Length = ::LCMapStringA(LOCALE_USER_DEFAULT, Flags, Name.data(), Source, Short, sizeof Short))
        return std::string(Short, static_cast<std::size_t>(Length));
    std::string Key(
        static_cast<std::size_t>(::LCMapStringA(LOCALE_USER_DEFAULT, Flags, Name.data(), Source, nullptr, 0)), '\0');
    if (Key.empty())
        return Name;
    Key.resize(static_cast<std::size_t>(
        ::LCMapStringA(LOCALE_USER_DEFAULT, Flags, Name.data(), Source, Key.data(), CheckedNarrow<int>(Key.size()))));
    return Key;
}

// The name keys of one reading, each made once: a listed name is most often the key
// of one of the section's lines too. A key stays where it is for the object's life.
class TNameKeys {
public:
    const std::string& operator()(std::string_view Name)
    {
        auto Found = FKeys.find(Name);
        if (Found == FKeys.end())
            Found = FKeys.emplace(std::string(Name), NameKey(std::string(Name))).first;
        return Found->second;
    }

private:
    struct THash : std::hash<std::string_view> {
        using is_transparent = void;
    };
    std::unordered_map<std::string, std::string, THash, std::equal_to<>> FKeys;
};

// The first buffer for a list of the file's names or lines: the file's size holds
// them all (a list is never longer than the text it comes from), so that one request
// is enough.
DWORD FirstListSize(const std::string& FileName)
{
    WIN32_FILE_ATTRIBUTE_DATA Data{};
    if (!::GetFileAttributesExA(FileName.c_str(), GetFileExInfoStandard, &Data) || Data.nFileSizeHigh
        || Data.nFileSizeLow > MAXDWORD / 2)
        return ListBufferSize;
    return std::max(ListBufferSize, Data.nFileSizeLow + 16);
}

// A list of zero-ended strings, as the service fills Buffer with a section's key names
// or lines; the items are views into Buffer. The buffer grows while the service
// reports it cut (it then returns size - 2; Windows ends such a list with two zeros
// and Wine with one, so only the count returned is trusted).
template <typename TRequest>
std::vector<std::string_view> ReadList(std::vector<char>& Buffer, TRequest Request)
{
    for (;;) {
        std::fill(Buffer.begin(), Buffer.end(), '\0');
        const DWORD Size = CheckedNarrow<DWORD>(Buffer.size());
        const DWORD Count = Request(Buffer.data(), Size);
        if (Count + 2 < Size) {
            std::vector<std::string_view> Items;
            for (const char *P = Buffer.data(), *End = P + Count; P < End && *P; P += Items.back().size() + 1)
                Items.emplace_back(P);
            return Items;
        }
        Buffer.resize(CheckedMul<std::size_t>(Buffer.size(), 2));
    }
}

std::vector<std::string_view> ReadNames(const std::string& Section, const std::string& FileName,
                                        std::vector<char>& Buffer)
{
    return ReadList(Buffer, [&](char* Data, DWORD Size) {
        return ::GetPrivateProfileStringA(Section.c_str(), nullptr, "", Data, Size, FileName.c_str());
    });
}

// True when the service's reading of a key and of its section line surely agree on
// Text (a key or a value): it has no blank or tab at either end, and, as a value, no
// quote in front and no length near the cut. Wine's section reading trims blanks and
// keeps quotes; Windows' is not proven to trim alike.
bool ReadsAlike(std::string_view Text, bool IsValue)
{
    const auto Blank = [](char C) { return C == ' ' || C == '\t'; };
    if (Text.empty())
        return true;
    if (Blank(Text.front()) || Blank(Text.back()))
        return false;
    return !IsValue || (Text.front() != '"' && Text.front() != '\'' && Text.size() < LongestDirectValue);
}

// A section line as the service gave it: its key as the line spells it, and its value
// where every service reads the line alike and the key's name occurs once in any
// letter case.
struct TDirectValue {
    std::string_view Key;
    std::optional<std::string_view> Value;
};

// The section's lines, read into Buffer, by their keys' name keys.
std::unordered_map<std::string_view, TDirectValue>
ReadDirectValues(const std::string& Section, const std::string& FileName, std::vector<char>& Buffer, TNameKeys& Keys)
{
    const auto Lines = ReadList(Buffer, [&](char* Data, DWORD Size) {
        return ::GetPrivateProfileSectionA(Section.c_str(), Data, Size, FileName.c_str());
    });
    std::unordered_map<std::string_view, TDirectValue> ByNameKey;
    ByNameKey.reserve(Lines.size());
    for (const auto Line : Lines) {
        const auto Eq = Line.find('=');
        TDirectValue Direct{Line.substr(0, Eq), std::nullopt};
        if (Eq != std::string_view::npos && ReadsAlike(Direct.Key, false) && ReadsAlike(Line.substr(Eq + 1), true))
            Direct.Value = Line.substr(Eq + 1);
        const auto [It, Inserted] = ByNameKey.try_emplace(Keys(Direct.Key), Direct);
        if (!Inserted)
            It->second.Value.reset();
    }
    return ByNameKey;
}

} // namespace

TIniFile::TIniFile(std::string FileName) : FFileName(std::move(FileName)) {}

std::string TIniFile::ReadString(const std::string& Section, const std::string& Key, const std::string& Default) const
{
    char Buffer[ValueBufferSize];
    const DWORD Count = ::GetPrivateProfileStringA(Section.c_str(), Key.c_str(), Default.c_str(), Buffer,
                                                   ValueBufferSize, FFileName.c_str());
    return std::string(Buffer, std::min(Count, ValueBufferSize - 1));
}

void TIniFile::ReadSection(const std::string& Section, std::vector<std::string>& Names) const
{
    std::vector<char> Buffer(FirstListSize(FFileName));
    const auto Views = ReadNames(Section, FFileName, Buffer);
    Names.assign(Views.begin(), Views.end());
}

void TIniFile::ReadSectionValues(const std::string& Section, std::vector<std::string>& Lines) const
{
    std::vector<char> NamesBuffer(FirstListSize(FFileName)), LinesBuffer(NamesBuffer.size());
    const auto Names = ReadNames(Section, FFileName, NamesBuffer);

    // One request per key is slow (the service parses the file each time), so the
    // section is read whole once, and the service is asked per key only where its own
    // reading could differ from the section's lines: quotes, long values, names that
    // occur twice, names the lines do not show as they were listed.
    TNameKeys Keys;
    const auto DirectValues = ReadDirectValues(Section, FFileName, LinesBuffer, Keys);

    TSectionLines Merged(Lines, [&Keys](const std::string& Name) { return Keys(Name); });
    for (const auto NameView : Names) {
        const std::string Name(NameView);
        const auto Line = DirectValues.find(Keys(Name));
        const bool Direct = Line != DirectValues.end() && Line->second.Value && Line->second.Key == Name;
        Merged.Merge(Name, Direct ? std::string(*Line->second.Value) : ReadString(Section, Name, ""));
    }
    Lines = std::move(Merged).Lines();
}

} // namespace tol

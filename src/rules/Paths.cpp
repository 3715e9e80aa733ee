#include "Paths.h"

#include <algorithm>

namespace tol {

namespace {

std::size_t FileNameStart(std::string_view Path)
{
    const auto Pos = Path.find_last_of("\\:");
    return Pos == std::string_view::npos ? 0 : Pos + 1;
}

char AsciiUpper(char C) { return C >= 'a' && C <= 'z' ? static_cast<char>(C - 'a' + 'A') : C; }

bool EqualsIgnoreAsciiCase(std::string_view A, std::string_view B)
{
    return std::ranges::equal(A, B, {}, AsciiUpper, AsciiUpper);
}

bool IsHexDigit(char C) { return (C >= '0' && C <= '9') || (C >= 'a' && C <= 'f') || (C >= 'A' && C <= 'F'); }

} // namespace

std::string ExtractFilePath(std::string_view Path) { return std::string(Path.substr(0, FileNameStart(Path))); }

std::string ExtractFileName(std::string_view Path) { return std::string(Path.substr(FileNameStart(Path))); }

std::string ExtractFileDir(std::string_view Path)
{
    std::string Folder = ExtractFilePath(Path);
    if (Folder.size() >= 2 && Folder.back() == '\\' && Folder[Folder.size() - 2] != ':'
        && Folder[Folder.size() - 2] != '\\')
        Folder.pop_back();
    return Folder;
}

bool HasWildcards(std::string_view Path) { return Path.find_first_of("*?") != std::string_view::npos; }

bool IsLauncherCopyName(std::string_view FileName)
{
    constexpr std::string_view Prefix = CopyPrefix, Extension = CopyExtension;
    if (FileName.size() < Prefix.size() + 1 + 1 + Extension.size()
        || !EqualsIgnoreAsciiCase(FileName.substr(0, Prefix.size()), Prefix)
        || FileName[FileName.size() - Extension.size() - 1] != '.'
        || !EqualsIgnoreAsciiCase(FileName.substr(FileName.size() - Extension.size()), Extension))
        return false;
    const auto Digits = FileName.substr(Prefix.size(), FileName.size() - Prefix.size() - Extension.size() - 1);
    return Digits.size() <= 4 && std::all_of(Digits.begin(), Digits.end(), IsHexDigit);
}

} // namespace tol

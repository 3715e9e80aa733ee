#include "Paths.h"

#include <algorithm>

namespace tol {

namespace {

std::size_t FileNameStart(std::string_view Path)
{
    const auto Pos = Path.find_last_of("\\:");
    return Pos == std::string_view::npos ? 0 : Pos + 1;
}

bool EqualsIgnoreAsciiCase(std::string_view A, std::string_view B)
{
    if (A.size() != B.size())
        return false;
    for (std::size_t I = 0; I < A.size(); ++I) {
        char X = A[I], Y = B[I];
        if (X >= 'a' && X <= 'z')
            X = static_cast<char>(X - 'a' + 'A');
        if (Y >= 'a' && Y <= 'z')
            Y = static_cast<char>(Y - 'a' + 'A');
        if (X != Y)
            return false;
    }
    return true;
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

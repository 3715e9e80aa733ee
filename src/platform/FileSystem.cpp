#include "FileSystem.h"

#include "Errors.h"
#include "Owners.h"
#include "Paths.h"

#include <windows.h>

namespace tol {

std::optional<std::uint64_t> FindFileSize(const std::string& Path) noexcept
{
    // A search for a wildcard would judge whatever it matched first.
    if (Path.empty() || HasWildcards(Path))
        return std::nullopt;
    WIN32_FIND_DATAA Data;
    const TFindHandle Find(::FindFirstFileA(Path.c_str(), &Data));
    if (!Find.Valid() || Data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return std::nullopt;
    return std::uint64_t{Data.nFileSizeHigh} << 32 | Data.nFileSizeLow;
}

std::optional<std::string> GetFullPath(const std::string& Path)
{
    char Buffer[MAX_PATH + 1];
    const DWORD Length = ::GetFullPathNameA(Path.c_str(), sizeof Buffer, Buffer, nullptr);
    if (Length == 0 || Length >= sizeof Buffer)
        return std::nullopt;
    return std::string(Buffer, Length);
}

std::string GetTempFolder()
{
    char Buffer[MAX_PATH + 1];
    const DWORD Length = ::GetTempPathA(sizeof Buffer, Buffer);
    if (Length == 0 || Length >= sizeof Buffer)
        throw EInOutError(Length == 0 ? ::GetLastError() : ERROR_BUFFER_OVERFLOW);
    return std::string(Buffer, Length);
}

std::string SystemErrorText(unsigned long ErrorCode, const std::string& Subject)
{
    // The inserts are not handed to the system: a text with more of them than given
    // would read past the arguments. "%1" is filled in here instead, so that the
    // player never reads a bare placeholder.
    char* Buffer = nullptr;
    const DWORD Length = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                              | FORMAT_MESSAGE_IGNORE_INSERTS,
                                          nullptr, ErrorCode, 0, reinterpret_cast<char*>(&Buffer), 0, nullptr);
    std::string Text = Length ? std::string(Buffer, Length) : FormatText("System error %d", std::to_string(ErrorCode));
    ::LocalFree(Buffer);
    while (!Text.empty() && (Text.back() == '\r' || Text.back() == '\n' || Text.back() == ' '))
        Text.pop_back();
    for (auto Pos = Text.find("%1"); !Subject.empty() && Pos != std::string::npos;
         Pos = Text.find("%1", Pos + Subject.size()))
        Text.replace(Pos, 2, Subject);
    return Text;
}

} // namespace tol

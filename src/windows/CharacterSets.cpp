#include "CharacterSets.h"

#include <windows.h>

#include <algorithm>

namespace tol {

void CopyText(char* Buffer, int Size, const std::string& Text) { ::lstrcpynA(Buffer, Text.c_str(), Size); }

void CopyText(wchar_t* Buffer, int Size, const std::string& Text)
{
    std::wstring Wide(Text.size() + 1, L'\0'); // a character of the code page is at most one wide character
    Wide.resize(static_cast<std::size_t>(::MultiByteToWideChar(CP_ACP, 0, Text.data(), static_cast<int>(Text.size()),
                                                               Wide.data(), static_cast<int>(Wide.size()))));
    ::lstrcpynW(Buffer, Wide.c_str(), Size);
}

std::string AnsiText(const wchar_t* Text)
{
    const int Size = ::WideCharToMultiByte(CP_ACP, 0, Text, -1, nullptr, 0, nullptr, nullptr);
    std::string Result(static_cast<std::size_t>(std::max(Size, 1)), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, Text, -1, Result.data(), Size, nullptr, nullptr);
    Result.resize(Result.size() - 1);
    return Result;
}

} // namespace tol

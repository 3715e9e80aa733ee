// Texts handed to the common controls in the character set they ask in: the program
// keeps its texts in the ANSI code page, and Wine's controls ask for Unicode as well.
#pragma once

#include <string>

namespace tol {

// Copies Text into Buffer of Size characters, cut to fit and ended with a zero.
void CopyText(char* Buffer, int Size, const std::string& Text);
void CopyText(wchar_t* Buffer, int Size, const std::string& Text);

// Text in the ANSI code page.
std::string AnsiText(const wchar_t* Text);

} // namespace tol

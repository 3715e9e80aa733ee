// Windows path parts. The folder part is everything up to and including the last
// "\" or ":" (empty when there is neither); the file-name part is the rest. "/" is
// not a separator.
#pragma once

#include <string>
#include <string_view>

namespace tol {

std::string ExtractFilePath(std::string_view Path);
std::string ExtractFileName(std::string_view Path);

// True when Path holds a wildcard ("*" or "?"): such a path names no one file.
bool HasWildcards(std::string_view Path);

// True for the long names of the launcher's own copies: "TOL", one to four
// hexadecimal digits, ".exe", in any letter case (TOL3f2a.EXE, tol1.exe).
bool IsLauncherCopyName(std::string_view FileName);

} // namespace tol

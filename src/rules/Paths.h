// Windows path parts. The folder part is everything up to and including the last
// "\" or ":" (empty when there is neither); the file-name part is the rest. "/" is
// not a separator.
#pragma once

#include <string>
#include <string_view>

namespace tol {

std::string ExtractFilePath(std::string_view Path);
std::string ExtractFileName(std::string_view Path);
// The folder part without its last "\", unless that "\" is the root's ("C:\", "\").
std::string ExtractFileDir(std::string_view Path);

// True when Path holds a wildcard ("*" or "?"): such a path names no one file.
bool HasWildcards(std::string_view Path);

// The launcher's copies of the tutorial program are named CopyPrefix, a unique
// hexadecimal part of one to four digits, "." and CopyExtension (TOL3f2a.EXE).
inline constexpr char CopyPrefix[] = "TOL";
inline constexpr char CopyExtension[] = "EXE";
// What the file search for them is given: it also finds names that are not copies.
inline constexpr char CopySearchPattern[] = "TOL*.exe";

// True for the long names of the launcher's own copies, in any letter case
// (TOL3f2a.EXE, tol1.exe).
bool IsLauncherCopyName(std::string_view FileName);

} // namespace tol

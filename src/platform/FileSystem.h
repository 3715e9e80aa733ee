// Questions to the file system that every part of the launcher asks the same way.
#pragma once

#include <string>

namespace tol {

// True when the file search finds an entry for Path that is not a folder; a path
// with wildcards is judged by its first match. The entry's date does not matter.
// Never raises: any failure counts as "does not exist".
bool FileExists(const std::string& Path) noexcept;

// The system's temporary folder, ending in "\"; raises EInOutError when unavailable.
std::string GetTempFolder();

// The system's text for an error code, without the line break it ends in. Its "%1"
// (as in "%1 is not a valid Win32 application.") names Subject.
std::string SystemErrorText(unsigned long ErrorCode, const std::string& Subject = {});

} // namespace tol

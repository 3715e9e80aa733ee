// Questions to the file system that every part of the launcher asks the same way.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tol {

// The size of the file at Path when the file search finds an entry for it that is not
// a folder, whatever its date; none otherwise, also for a path with wildcards, which
// names no one file, and for any failure.
std::optional<std::uint64_t> FindFileSize(const std::string& Path) noexcept;

inline bool FileExists(const std::string& Path) noexcept { return FindFileSize(Path).has_value(); }

// Path made full against the current folder; none when the system cannot say.
std::optional<std::string> GetFullPath(const std::string& Path);

// The system's temporary folder, ending in "\"; raises EInOutError when unavailable.
std::string GetTempFolder();

// The system's text for an error code, without the line break it ends in. Its "%1"
// (as in "%1 is not a valid Win32 application.") names Subject.
std::string SystemErrorText(unsigned long ErrorCode, const std::string& Subject = {});

} // namespace tol

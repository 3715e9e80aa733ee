// Removal of the copies earlier runs left behind. A copy still running cannot be
// deleted and is left for a later start.
#pragma once

#include <string>

namespace tol {

// Deletes the launcher's copies in Folder (a path ending in "\", or empty for the
// current folder): files found by the copies' search pattern whose long name is a
// copy's (IsLauncherCopyName). KeepFileName, when given, is never deleted.
void DeleteTempFiles(const std::string& Folder, const std::string& KeepFileName = {});

// Deletes the copies beside the tutorial program, which itself is kept.
void DeleteTutorialTempFiles(const std::string& TutorialFileName);

// Deletes the copies in the system's temporary folder, never KeepFileName.
void DeleteTempPathTempFiles(const std::string& KeepFileName = {});

} // namespace tol

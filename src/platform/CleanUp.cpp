#include "CleanUp.h"

#include "Errors.h"
#include "FileSystem.h"
#include "Owners.h"
#include "Paths.h"

#include <windows.h>

namespace tol {

void DeleteTempFiles(const std::string& Folder, const std::string& KeepFileName)
{
    // The wildcard also matches short 8.3 aliases (TOL.exe, TOLKIEN.exe, a folder),
    // so each match's long name is checked before anything is deleted.
    WIN32_FIND_DATAA Data;
    const TFindHandle Find(::FindFirstFileA((Folder + CopySearchPattern).c_str(), &Data));
    if (!Find.Valid())
        return;
    const std::string Keep = KeepFileName.empty() ? std::string() : GetFullPath(KeepFileName).value_or(KeepFileName);
    do {
        if (Data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY || !IsLauncherCopyName(Data.cFileName))
            continue;
        const std::string FileName = Folder + Data.cFileName;
        if (!Keep.empty() && ::lstrcmpiA(GetFullPath(FileName).value_or(FileName).c_str(), Keep.c_str()) == 0)
            continue;
        ::DeleteFileA(FileName.c_str()); // in use or read-only: left for a later start
    } while (::FindNextFileA(Find.Get(), &Data));
}

void DeleteTutorialTempFiles(const std::string& TutorialFileName)
{
    DeleteTempFiles(ExtractFilePath(TutorialFileName), TutorialFileName);
}

void DeleteTempPathTempFiles(const std::string& KeepFileName)
{
    std::string Folder;
    try {
        Folder = GetTempFolder();
    } catch (const EInOutError&) {
        return; // no temporary folder, nothing of ours in it
    }
    DeleteTempFiles(Folder, KeepFileName);
}

} // namespace tol

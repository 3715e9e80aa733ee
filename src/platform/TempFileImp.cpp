#include "TempFileImp.h"

#include "Errors.h"
#include "FileSystem.h"
#include "Paths.h"
#include "ShellImp.h"

#include <windows.h>

#include <vector>

namespace tol {

TFile::TFile() : FFileName(TFile::GetDefaultFileName()) {}

std::string TFile::GetDefaultFileName() { return {}; }

bool TFile::Execute() { return StartWithShell(FFileName); }

TTempFile::TTempFile(const std::string& Prefix, const std::string& Extension) : FPrefix(Prefix), FExtension(Extension)
{
    // C++ binds a virtual call made in a base constructor to the base class, so TFile
    // cannot ask this class for its name; the name is made here instead, once the
    // prefix and extension it depends on are set.
    FFileName = GetDefaultFileName();
}

std::string TTempFile::GetDefaultFileName()
{
    const std::string Folder = GetTempFolder();

    // A name can be free as ".tmp" and taken with the new extension (a copy left by an
    // earlier run). Such a name is kept reserved while another is drawn, so that the
    // system does not hand it out again, and released at the end, however it comes.
    struct TReserved {
        std::vector<std::string> Names;
        ~TReserved()
        {
            for (const auto& Name : Names)
                ::DeleteFileA(Name.c_str());
        }
    } Reserved;
    for (int Attempt = 1;; ++Attempt) {
        char Created[MAX_PATH + 1];
        if (!::GetTempFileNameA(Folder.c_str(), FPrefix.c_str(), 0, Created))
            throw EInOutError(::GetLastError());
        // Only the extension of the file-name part is replaced: a dot in a folder name
        // must not count.
        const std::string FileName = ExtractFileName(Created);
        const auto Dot = FileName.rfind('.');
        std::string NewName = ExtractFilePath(Created) + FileName.substr(0, Dot) + '.' + FExtension;
        if (::MoveFileA(Created, NewName.c_str()))
            return NewName;
        const DWORD Error = ::GetLastError();
        Reserved.Names.push_back(Created);
        if (Error != ERROR_ALREADY_EXISTS || Attempt == UniqueNameAttempts)
            throw EInOutError(Error);
    }
}

} // namespace tol

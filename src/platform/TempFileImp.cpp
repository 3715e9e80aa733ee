#include "TempFileImp.h"

#include "Errors.h"
#include "FileSystem.h"
#include "Messages.h"
#include "Owners.h"
#include "Paths.h"
#include "Texts.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

namespace tol {

namespace {

// The shell's own result code of a failed request, as a system error code, for when
// the shell's error display has lost the thread's last error.
DWORD ShellResultToErrorCode(INT_PTR Result)
{
    switch (Result) {
    case SE_ERR_FNF: return ERROR_FILE_NOT_FOUND;
    case SE_ERR_PNF: return ERROR_PATH_NOT_FOUND;
    case SE_ERR_ACCESSDENIED: return ERROR_ACCESS_DENIED;
    case SE_ERR_OOM: return ERROR_NOT_ENOUGH_MEMORY;
    case ERROR_BAD_FORMAT: return ERROR_BAD_EXE_FORMAT;
    case SE_ERR_SHARE: return ERROR_SHARING_VIOLATION;
    case SE_ERR_ASSOCINCOMPLETE:
    case SE_ERR_NOASSOC: return ERROR_NO_ASSOCIATION;
    case SE_ERR_DDETIMEOUT:
    case SE_ERR_DDEFAIL:
    case SE_ERR_DDEBUSY: return ERROR_DDE_FAIL;
    case SE_ERR_DLLNOTFOUND: return ERROR_DLL_NOT_FOUND;
    default: return ERROR_GEN_FAILURE;
    }
}

// The shell's item for the file, which Wine requires beside the file's name when
// the request asks for the item's context menu; Windows accepts both.
inline void FreeItemIdList(PIDLIST_ABSOLUTE List) noexcept { ::ILFree(List); }
using TItemIdList = TOwner<TNullHandleTraits<PIDLIST_ABSOLUTE, FreeItemIdList>>;

} // namespace

TFile::TFile() : FFileName(TFile::GetDefaultFileName()) {}

std::string TFile::GetFileName() const { return FFileName; }

void TFile::SetFileName(const std::string& Value)
{
    if (Value != FFileName)
        FFileName = Value;
}

std::string TFile::GetParameters() const { return FParameters; }

void TFile::SetParameters(const std::string& Value)
{
    if (Value != FParameters)
        FParameters = Value;
}

bool TFile::GetExists() const { return FileExists(FFileName); }

std::string TFile::GetDefaultFileName() { return {}; }

bool TFile::Execute()
{
    constexpr char Verb[] = "open";
    const std::string Directory = ExtractFilePath(FFileName);
    const TItemIdList Item(::ILCreateFromPathA(FFileName.c_str()));

    SHELLEXECUTEINFOA Info{};
    Info.cbSize = sizeof Info;
    Info.fMask = SEE_MASK_INVOKEIDLIST;
    Info.lpVerb = Verb;
    Info.lpFile = FFileName.c_str();
    Info.lpParameters = FParameters.c_str();
    Info.lpDirectory = Directory.c_str();
    Info.nShow = SW_HIDE;
    Info.lpIDList = Item.Get();
    if (::ShellExecuteExA(&Info))
        return true;

    DWORD Error = ::GetLastError();
    if (Error == ERROR_SUCCESS)
        Error = ShellResultToErrorCode(reinterpret_cast<INT_PTR>(Info.hInstApp));
    const std::string Text = FormatText(FormatText(Texts::UnableToExecute, Verb), FFileName);
    ShowMessageBox(TMessageKind::Warning, Text + SystemErrorText(Error, FFileName));
    return false;
}

TTempFile::TTempFile(const std::string& Prefix, const std::string& Extension)
    : FPrefix(Prefix), FExtension(Extension)
{
    // C++ binds a virtual call made in a base constructor to the base class, so TFile
    // cannot ask this class for its name; the name is made here instead, once the
    // prefix and extension it depends on are set.
    FFileName = GetDefaultFileName();
}

std::string TTempFile::GetPrefix() const { return FPrefix; }

std::string TTempFile::GetExtension() const { return FExtension; }

std::string TTempFile::GetDefaultFileName()
{
    const std::string Folder = GetTempFolder();

    // A name can be free as ".tmp" and taken with the new extension (a copy left by an
    // earlier run). Such a name is kept reserved while another is drawn, so that the
    // system does not hand it out again, and released at the end.
    constexpr int Attempts = 16;
    std::vector<std::string> Reserved;
    const auto ReleaseReserved = [&] {
        for (const auto& Name : Reserved)
            ::DeleteFileA(Name.c_str());
    };
    for (int Attempt = 0;; ++Attempt) {
        char Created[MAX_PATH + 1];
        if (!::GetTempFileNameA(Folder.c_str(), FPrefix.c_str(), 0, Created)) {
            const DWORD Error = ::GetLastError();
            ReleaseReserved();
            throw EInOutError(Error);
        }

        // Only the extension of the file-name part is replaced: a dot in a folder name
        // must not count.
        const std::string CreatedName = Created;
        const std::string FileName = ExtractFileName(CreatedName);
        const auto Dot = FileName.rfind('.');
        const std::string Stem = CreatedName.substr(0, CreatedName.size() - FileName.size())
                                 + (Dot == std::string::npos ? FileName + '.' : FileName.substr(0, Dot + 1));
        const std::string NewName = Stem + FExtension;
        if (::MoveFileA(CreatedName.c_str(), NewName.c_str())) {
            ReleaseReserved();
            return NewName;
        }
        const DWORD Error = ::GetLastError();
        Reserved.push_back(CreatedName);
        if (Error != ERROR_ALREADY_EXISTS || Attempt + 1 == Attempts) {
            ReleaseReserved();
            throw EInOutError(Error);
        }
    }
}

} // namespace tol

#include "TempFileImp.h"

#include "Application.h"
#include "Errors.h"
#include "FileSystem.h"
#include "Messages.h"
#include "Owners.h"
#include "Paths.h"
#include "Texts.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <optional>
#include <vector>

namespace tol {

namespace {

// The system's error code for the shell's own result of a failed request, for when
// the shell's error display has lost the thread's last error; none when the result
// names no reason the system has a text for.
std::optional<DWORD> ShellResultToErrorCode(INT_PTR Result)
{
    switch (Result) {
    case 0:
    case SE_ERR_OOM: return ERROR_NOT_ENOUGH_MEMORY;
    case SE_ERR_FNF: return ERROR_FILE_NOT_FOUND;
    case SE_ERR_PNF: return ERROR_PATH_NOT_FOUND;
    case SE_ERR_ACCESSDENIED: return ERROR_ACCESS_DENIED;
    case ERROR_BAD_FORMAT: return ERROR_BAD_EXE_FORMAT;
    case SE_ERR_SHARE: return ERROR_SHARING_VIOLATION;
    case SE_ERR_ASSOCINCOMPLETE:
    case SE_ERR_NOASSOC: return ERROR_NO_ASSOCIATION;
    case SE_ERR_DDETIMEOUT:
    case SE_ERR_DDEFAIL:
    case SE_ERR_DDEBUSY: return ERROR_DDE_FAIL;
    case SE_ERR_DLLNOTFOUND: return ERROR_DLL_NOT_FOUND;
    default: return std::nullopt;
    }
}

// Keeps a window from taking input for the object's lifetime, unless it already took none.
class TDisabledWindow {
public:
    explicit TDisabledWindow(HWND Window) noexcept : FWindow(Window && ::IsWindowEnabled(Window) ? Window : nullptr)
    {
        if (FWindow)
            ::EnableWindow(FWindow, FALSE);
    }
    ~TDisabledWindow()
    {
        if (FWindow)
            ::EnableWindow(FWindow, TRUE);
    }
    TDisabledWindow(const TDisabledWindow&) = delete;
    TDisabledWindow& operator=(const TDisabledWindow&) = delete;

private:
    HWND FWindow;
};

// The shell's item for the file, which Wine requires beside the file's name when
// the request asks for the item's context menu; Windows accepts both.
inline void FreeItemIdList(PIDLIST_ABSOLUTE List) noexcept { ::ILFree(List); }
using TItemIdList = TOwner<TNullHandleTraits<PIDLIST_ABSOLUTE, FreeItemIdList>>;

} // namespace

TFile::TFile() : FFileName(TFile::GetDefaultFileName()) {}

std::string TFile::GetDefaultFileName() { return {}; }

bool TFile::Execute()
{
    constexpr char Verb[] = "open";
    const std::string Directory = ExtractFilePath(FFileName);
    const TItemIdList Item(::ILCreateFromPathA(FFileName.c_str()));

    // The application's window owns what the shell shows and takes no input meanwhile:
    // a second Run must not start inside this one.
    const TDisabledWindow Owner(Application.Handle);
    SHELLEXECUTEINFOA Info{};
    Info.cbSize = sizeof Info;
    // The launcher ends right after the request: the shell must have finished with it.
    Info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOASYNC;
    Info.hwnd = Application.Handle;
    Info.lpVerb = Verb;
    Info.lpFile = FFileName.c_str();
    Info.lpParameters = FParameters.c_str();
    Info.lpDirectory = Directory.c_str();
    Info.nShow = SW_HIDE;
    Info.lpIDList = Item.Get();
    if (::ShellExecuteExA(&Info))
        return true;

    const DWORD Error = ::GetLastError();
    // The player said no, for example to Windows' warning before a program copied from
    // a download: that is no failure to report.
    if (Error == ERROR_CANCELLED)
        return false;
    const auto Reason = Error != ERROR_SUCCESS ? std::optional<DWORD>(Error)
                                               : ShellResultToErrorCode(reinterpret_cast<INT_PTR>(Info.hInstApp));
    const std::string Text = FormatText(FormatText(Texts::UnableToExecute, Verb), FFileName);
    ShowMessageBox(
        TMessageKind::Warning,
        Text
            + (Reason ? SystemErrorText(*Reason, FFileName)
                      : FormatText(Texts::NoReasonGiven, std::to_string(reinterpret_cast<INT_PTR>(Info.hInstApp)))));
    return false;
}

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
        std::string NewName = Stem + FExtension;
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

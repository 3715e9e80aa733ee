#include "ShellImp.h"

#include "Application.h"
#include "Errors.h"
#include "FileSystem.h"
#include "Messages.h"
#include "Owners.h"
#include "Paths.h"
#include "ResourceIds.h"
#include "Texts.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <optional>
#include <utility>

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

// The shell's item for the file, which Wine requires beside the file's name when
// the request asks for the item's context menu; Windows accepts both.
inline void FreeItemIdList(PIDLIST_ABSOLUTE List) noexcept { ::ILFree(List); }
using TItemIdList = TOwner<TNullHandleTraits<PIDLIST_ABSOLUTE, FreeItemIdList>>;

TShellOpenHook& Hook()
{
    static TShellOpenHook Current = [](const std::string& Target) {
        return reinterpret_cast<std::intptr_t>(
            ::ShellExecuteA(Application.Handle, "open", Target.c_str(), "", "", SW_SHOW));
    };
    return Current;
}

} // namespace

bool StartWithShell(const std::string& FileName)
{
    constexpr char Verb[] = "open";
    const std::string Directory = ExtractFilePath(FileName);
    const TItemIdList Item(::ILCreateFromPathA(FileName.c_str()));

    // The application's window owns what the shell shows and takes no input meanwhile:
    // a second Run must not start inside this one.
    const TDisabledWindow Owner(Application.Handle);
    SHELLEXECUTEINFOA Info{};
    Info.cbSize = sizeof Info;
    // The launcher ends right after the request: the shell must have finished with it.
    Info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOASYNC;
    Info.hwnd = Application.Handle;
    Info.lpVerb = Verb;
    Info.lpFile = FileName.c_str();
    Info.lpParameters = "";
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
    const auto Result = reinterpret_cast<INT_PTR>(Info.hInstApp);
    const auto Reason = Error != ERROR_SUCCESS ? std::optional<DWORD>(Error) : ShellResultToErrorCode(Result);
    ShowMessageBox(TMessageKind::Warning, FormatText(FormatText(Texts::UnableToExecute, Verb), FileName)
                                              + (Reason ? SystemErrorText(*Reason, FileName)
                                                        : FormatText(Texts::NoReasonGiven, std::to_string(Result))));
    return false;
}

std::intptr_t ShellOpen(const std::string& Target) { return Hook()(Target); }

TShellOpenHook SetShellOpenHook(TShellOpenHook NewHook) { return std::exchange(Hook(), std::move(NewHook)); }

std::string GetMailToURL()
{
    char Buffer[1024];
    const int Length = ::LoadStringA(::GetModuleHandleA(nullptr), IDS_MAILTO_URL, Buffer, sizeof Buffer);
    return std::string(Buffer, Length > 0 ? Length : 0);
}

} // namespace tol

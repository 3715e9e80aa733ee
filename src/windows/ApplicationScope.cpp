#include "ApplicationScope.h"

#include "Application.h"
#include "MessageDlg.h"
#include "Texts.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

namespace tol {

TApplicationScope::TApplicationScope()
{
    // ShellExecuteEx and ShellExecute may hand the request to COM objects, which need
    // a single-threaded apartment; OLE1's DDE is of no use to them.
    FComInitialized = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    Application.Title = Texts::AppTitle;
    const INITCOMMONCONTROLSEX Controls{sizeof Controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&Controls);
    SetMessageBoxHandler(ShowMessageDlg);
}

TApplicationScope::~TApplicationScope()
{
    if (FComInitialized)
        ::CoUninitialize();
}

} // namespace tol

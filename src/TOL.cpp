// The program block: the application, its main window and the message loop.
#include "Application.h"
#include "FormMainImp.h"
#include "GeneralHandler.h"
#include "MessageDlg.h"
#include "Texts.h"

#include <windows.h>
#include <commctrl.h>

#include <memory>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int CmdShow)
{
    using namespace tol;
    Application.Title = Texts::AppTitle;
    const INITCOMMONCONTROLSEX Controls{sizeof Controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&Controls);
    SetMessageBoxHandler(ShowMessageDlg);

    std::unique_ptr<TFormMain> FormMain;
    if (!Guarded([&] { FormMain = std::make_unique<TFormMain>(); }))
        return 1;
    if (!Application.Terminated) {
        ::ShowWindow(FormMain->Handle(), CmdShow);
        FormMain->FocusFirstControl();
        RunMessageLoop();
    }
    FormMain.reset(); // the shut-down sequence runs here
    return Application.ExitCode;
}

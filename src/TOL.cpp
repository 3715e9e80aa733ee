// The program block: the application, its main window and the message loop.
#include "Application.h"
#include "ApplicationScope.h"
#include "FormMainImp.h"
#include "GeneralHandler.h"

#include <windows.h>

#include <memory>

// The system's header names the parameters; the program reads only the show command.
// NOLINTNEXTLINE(readability-inconsistent-declaration-parameter-name)
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int CmdShow)
{
    using namespace tol;
    const TApplicationScope Scope;

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

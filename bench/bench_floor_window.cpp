// The floor of the launcher's start-up: the main window as the player sees it, with
// the same controls, image lists, resources, manifest and system libraries as
// TOL.exe, opened without any work of the launcher's (no settings, no clean-up, no
// zones). The start-up benchmark starts it, waits until it is idle and closes it.
#include "ApplicationScope.h"
#include "FormMainImp.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int CmdShow)
{
    // The program's own preparation (common controls, COM for the shell): the same
    // system libraries, loaded and set up alike.
    const tol::TApplicationScope Scope;
    try {
        tol::TFormMainView Window;
        ::ShowWindow(Window.Handle(), CmdShow);
        Window.FocusFirstControl();
        return tol::RunMessageLoop();
    } catch (...) {
        return 1;
    }
}

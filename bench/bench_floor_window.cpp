// The floor of the launcher's start-up: the main window as the player sees it, with
// the same controls, image lists, resources, manifest and system libraries as
// TOL.exe, opened without any work of the launcher's (no settings, no clean-up, no
// zones). The start-up benchmark starts it, waits until it is idle and closes it.
#include "FormMainImp.h"

#include <windows.h>
#include <commctrl.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int CmdShow)
{
    const INITCOMMONCONTROLSEX Controls{sizeof Controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&Controls);
    try {
        tol::TFormMainView Window;
        ::ShowWindow(Window.Handle(), CmdShow);
        Window.FocusFirstControl();
        return tol::RunMessageLoop();
    } catch (...) {
        return 1;
    }
}

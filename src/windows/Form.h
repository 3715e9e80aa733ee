// The base of the program's windows: one class per window, the window procedure
// forwarding every message to the object, and no failure ever crossing into Windows.
#pragma once

#include "Dpi.h"

#include <windows.h>

#include <string>

namespace tol {

class TForm {
public:
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;
    virtual ~TForm();

    HWND Handle() const noexcept { return FHandle; }

    // Closes the window: a modal form ends its modal loop; the main form ends the
    // application's message loop. The window itself is destroyed with the object.
    void Close();

    // Shows the form modally, owned by the application window, until it is closed;
    // returns ModalResult.
    int ShowModal();
    int ModalResult = 0;

protected:
    TForm() = default;

    // Registers the window class (once) and creates the window; the object receives
    // every message from WM_NCCREATE on. The window keeps FDpi, which the derived
    // form sets before, for DpiOf.
    void CreateHandle(const char* ClassName, DWORD Style, DWORD ExStyle, const std::string& Caption, int X, int Y,
                      int Width, int Height, HWND Owner, HICON Icon);

    // Destroys the window while the derived object, and what it owns, still exists.
    void DestroyHandle() noexcept;

    // The window's own handling; unhandled messages go to DefWindowProc.
    virtual LRESULT HandleMessage(UINT Message, WPARAM WParam, LPARAM LParam);

    // The window has come to a monitor of another scale (WM_DPICHANGED) and lays itself
    // out at FDpi from now on, no longer at OldDpi: everything is made again at FDpi, as
    // a window started there would be, and the window takes Suggested. A form overrides
    // it to do so for its controls, calling this last.
    virtual void ChangeDpi(int OldDpi, const RECT& Suggested);
    void SetDpi(int NewDpi) noexcept;

    int FDpi = SystemDpi();

    // Keeps the control that had the focus when the window was deactivated.
    HWND FFocusedControl = nullptr;

private:
    static LRESULT CALLBACK WindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam);

    HWND FHandle = nullptr;
    bool FModal = false;
};

// Runs the message loop until the quit message, with dialog keys (Tab, access keys)
// for every window of the thread. Returns the quit code.
int RunMessageLoop();

// Creates a form of the given class, shows it modally owned by the application
// window, and releases it again whatever happens while it is shown.
template <typename TFormClass>
int ShowModalForm()
{
    return TFormClass().ShowModal();
}

} // namespace tol

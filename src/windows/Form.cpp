#include "Form.h"

#include "Application.h"
#include "Errors.h"
#include "GeneralHandler.h"
#include "Owners.h"
#include "Texts.h"

#include <stdexcept>
#include <utility>

namespace tol {

TForm::~TForm() { DestroyHandle(); }

void TForm::DestroyHandle() noexcept
{
    if (FHandle) {
        // The object is going: the window must not reach it any more.
        const HWND Window = std::exchange(FHandle, nullptr);
        ::SetWindowLongPtrA(Window, GWLP_USERDATA, 0);
        ::DestroyWindow(Window);
    }
}

void TForm::CreateHandle(const char* ClassName, DWORD Style, DWORD ExStyle, const std::string& Caption, int X, int Y,
                         int Width, int Height, HWND Owner, HICON Icon)
{
    const HINSTANCE Instance = ::GetModuleHandleA(nullptr);
    WNDCLASSEXA Class{};
    if (!::GetClassInfoExA(Instance, ClassName, &Class)) {
        Class.cbSize = sizeof Class;
        Class.lpfnWndProc = WindowProc;
        Class.hInstance = Instance;
        Class.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        Class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        Class.lpszClassName = ClassName;
        Class.hIcon = Icon;
        if (!::RegisterClassExA(&Class))
            throw std::runtime_error(FormatText(Texts::WindowClassNotRegistered, ClassName));
    }
    if (!::CreateWindowExA(ExStyle, ClassName, Caption.c_str(), Style, X, Y, Width, Height, Owner, nullptr, Instance,
                           this))
        throw std::runtime_error(FormatText(Texts::WindowNotCreated, ClassName));
    KeepDpi(FHandle, FDpi);
}

void TForm::SetDpi(int NewDpi) noexcept
{
    FDpi = NewDpi;
    KeepDpi(FHandle, FDpi);
}

void TForm::ChangeDpi(int /*OldDpi*/, const RECT& Suggested)
{
    ::SetWindowPos(FHandle, nullptr, Suggested.left, Suggested.top, Suggested.right - Suggested.left,
                   Suggested.bottom - Suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK TForm::WindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam)
{
    if (Message == WM_NCCREATE) {
        auto* Self = static_cast<TForm*>(reinterpret_cast<CREATESTRUCTA*>(LParam)->lpCreateParams);
        Self->FHandle = Window;
        ::SetWindowLongPtrA(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(Self));
    }
    auto* Self = reinterpret_cast<TForm*>(::GetWindowLongPtrA(Window, GWLP_USERDATA));
    if (!Self)
        return ::DefWindowProcA(Window, Message, WParam, LParam);
    LRESULT Result = 0;
    try {
        Result = Self->HandleMessage(Message, WParam, LParam);
    } catch (...) {
        HandleException(std::current_exception());
    }
    // The window's last message has been handled with its real handle (the system's
    // own handling frees the window's text and scroll bars): now the object lets go.
    if (Message == WM_NCDESTROY) {
        KeepDpi(Window, 0);
        Self->FHandle = nullptr;
        ::SetWindowLongPtrA(Window, GWLP_USERDATA, 0);
    }
    return Result;
}

LRESULT TForm::HandleMessage(UINT Message, WPARAM WParam, LPARAM LParam)
{
    switch (Message) {
    case WM_ACTIVATE:
        if (LOWORD(WParam) == WA_INACTIVE) {
            const HWND Focus = ::GetFocus();
            if (Focus && ::IsChild(FHandle, Focus))
                FFocusedControl = Focus;
        } else if (FFocusedControl && ::IsWindow(FFocusedControl)) {
            ::SetFocus(FFocusedControl);
            return 0;
        }
        break;
    case WM_CLOSE: Close(); return 0;
    case WM_DPICHANGED:
        if (HIWORD(WParam) && LParam) {
            const int OldDpi = FDpi;
            SetDpi(HIWORD(WParam));
            ChangeDpi(OldDpi, *reinterpret_cast<const RECT*>(LParam));
        }
        return 0;
    default: break;
    }
    return ::DefWindowProcA(FHandle, Message, WParam, LParam);
}

void TForm::Close()
{
    if (FModal) {
        if (ModalResult == 0)
            ModalResult = IDCANCEL;
        return;
    }
    ::ShowWindow(FHandle, SW_HIDE);
    ::PostQuitMessage(Application.ExitCode);
}

int TForm::ShowModal()
{
    const HWND Owner = Application.Handle;
    if (Owner)
        ::SetWindowLongPtrA(FHandle, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(Owner));
    {
        // The owner is enabled again before the box goes, so that it, not another
        // program, becomes the active window.
        const TDisabledWindow Disabled(Owner);
        FModal = true;
        ModalResult = 0;
        ::ShowWindow(FHandle, SW_SHOW);
        MSG Msg;
        while (ModalResult == 0) {
            const BOOL Got = ::GetMessageA(&Msg, nullptr, 0, 0);
            if (Got <= 0) {
                // The application is ending: hand the quit message on to the main loop.
                if (Got == 0)
                    ::PostQuitMessage(static_cast<int>(Msg.wParam));
                break;
            }
            if (!::IsDialogMessageA(FHandle, &Msg)) {
                ::TranslateMessage(&Msg);
                ::DispatchMessageA(&Msg);
            }
        }
        FModal = false;
    }
    ::ShowWindow(FHandle, SW_HIDE);
    if (Owner)
        ::SetActiveWindow(Owner);
    return ModalResult;
}

int RunMessageLoop()
{
    MSG Msg;
    while (::GetMessageA(&Msg, nullptr, 0, 0) > 0) {
        const HWND Root = Msg.hwnd ? ::GetAncestor(Msg.hwnd, GA_ROOT) : nullptr;
        if (Root && ::IsDialogMessageA(Root, &Msg))
            continue;
        ::TranslateMessage(&Msg);
        ::DispatchMessageA(&Msg);
    }
    return static_cast<int>(Msg.wParam);
}

} // namespace tol

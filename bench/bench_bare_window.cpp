// The baseline for the start-up time of TOL.exe: a bare Win32 program that opens one
// empty window, shows it, and then waits idle for messages until it is closed. A
// start-up benchmark can start it, wait until it is idle (WaitForInputIdle, or
// FindWindowA with the class below) and close it with WM_CLOSE.
#include <windows.h>

namespace {

constexpr char ClassName[] = "TolvaneBareWindow";
constexpr char Title[] = "Tolvane bare window";

LRESULT CALLBACK WindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam)
{
    if (Message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(Window, Message, WParam, LParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE Instance, HINSTANCE, LPSTR, int Show)
{
    WNDCLASSA Class{};
    Class.lpfnWndProc = WindowProc;
    Class.hInstance = Instance;
    Class.hCursor = LoadCursor(nullptr, IDC_ARROW);
    Class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    Class.lpszClassName = ClassName;
    if (!RegisterClassA(&Class))
        return 1;

    const HWND Window = CreateWindowA(ClassName, Title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 480, 360,
                                      nullptr, nullptr, Instance, nullptr);
    if (!Window)
        return 1;
    ShowWindow(Window, Show);
    UpdateWindow(Window);

    MSG Msg;
    while (GetMessageA(&Msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&Msg);
        DispatchMessageA(&Msg);
    }
    return static_cast<int>(Msg.wParam);
}

#include "Dpi.h"

namespace tol {

constexpr char DpiProperty[] = "Tolvane.Dpi";

int SystemDpi() noexcept
{
    static const int Dpi = [] {
        const HDC Screen = ::GetDC(nullptr);
        const int Value = Screen ? ::GetDeviceCaps(Screen, LOGPIXELSY) : 96;
        ::ReleaseDC(nullptr, Screen);
        return Value > 0 ? Value : 96;
    }();
    return Dpi;
}

int MonitorDpi(HWND Window) noexcept
{
    // Looked up, not linked: Windows 7 and 8.x have no such call.
    using TGetDpiForWindow = UINT(WINAPI*)(HWND);
    static const auto GetDpiForWindow = reinterpret_cast<TGetDpiForWindow>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    const UINT Dpi = GetDpiForWindow && Window ? GetDpiForWindow(Window) : 0;
    return Dpi ? static_cast<int>(Dpi) : SystemDpi();
}

int DpiOf(HWND Window) noexcept
{
    if (const auto Kept = reinterpret_cast<INT_PTR>(Window ? ::GetPropA(Window, DpiProperty) : nullptr))
        return static_cast<int>(Kept);
    return MonitorDpi(Window);
}

void KeepDpi(HWND Window, int Dpi) noexcept
{
    if (Dpi)
        ::SetPropA(Window, DpiProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(Dpi)));
    else
        ::RemovePropA(Window, DpiProperty);
}

} // namespace tol

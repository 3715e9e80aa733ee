#include "GuiSupport.h"

#include "Form.h"

namespace tol::test {

namespace {

struct TPump {
    HWND Main = nullptr;
    DWORD Start = 0, Limit = 0;
    UINT_PTR Timer = 0;
    int IdleTicks = 0;
} ThePump;

void CALLBACK PumpTick(HWND, UINT, UINT_PTR, DWORD)
{
    if (GetTickCount() - ThePump.Start > ThePump.Limit) {
        KillTimer(nullptr, ThePump.Timer);
        PostQuitMessage(PumpTimeout);
        return;
    }
    // A timer comes only when nothing else is queued; two quiet ticks in a row, with
    // no modal box disabling the main window, mean the thread is idle.
    const bool Busy = HIWORD(GetQueueStatus(QS_ALLINPUT)) != 0
                      || (ThePump.Main && IsWindow(ThePump.Main) && !IsWindowEnabled(ThePump.Main));
    ThePump.IdleTicks = Busy ? 0 : ThePump.IdleTicks + 1;
    if (ThePump.IdleTicks >= 2) {
        KillTimer(nullptr, ThePump.Timer);
        PostQuitMessage(PumpIdle);
    }
}

} // namespace

int Pump(HWND Main, DWORD TimeoutMs)
{
    ThePump = TPump{Main, GetTickCount(), TimeoutMs, 0, 0};
    ThePump.Timer = SetTimer(nullptr, 0, 30, PumpTick);
    const int Code = RunMessageLoop();
    KillTimer(nullptr, ThePump.Timer);
    return Code;
}

TUnmanagedWindows::TUnmanagedWindows(const std::string& ProgramName)
{
    const HMODULE Ntdll = GetModuleHandleA("ntdll.dll");
    if (!Ntdll || !GetProcAddress(Ntdll, "wine_get_version"))
        return;
    FKey = "Software\\Wine\\AppDefaults\\" + ProgramName;
    HKEY Key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, FKey.c_str(), 0, KEY_READ, &Key) == ERROR_SUCCESS) {
        RegCloseKey(Key);
        return; // the prefix's own settings for the program are left as they are
    }
    const std::string Driver = FKey + "\\X11 Driver";
    FCreated = RegSetKeyValueA(HKEY_CURRENT_USER, Driver.c_str(), "Managed", REG_SZ, "N", 2) == ERROR_SUCCESS;
}

TUnmanagedWindows::~TUnmanagedWindows()
{
    if (FCreated)
        RegDeleteTreeA(HKEY_CURRENT_USER, FKey.c_str());
}

} // namespace tol::test

// The real TOL.exe, copied into a folder of its own beside its settings file and started
// as a player starts it, with a game folder that holds the stand-in as the tutorial
// program and a temporary folder (TMP and TEMP) of the test's own.
#pragma once

#include "GuiSupport.h"

#include <gtest/gtest.h>

namespace tol::test {

class ProgramTest : public ::testing::Test, protected TStandInGame {
protected:
    ProgramTest() { WriteBytes(App / "TOL.exe", ReadBytes(WinePath(TOLVANE_TOL_EXE))); }

    std::string Settings() const { return App / "TOL.ini"; }

    TProcess Launch() const
    {
        return TProcess(App / "TOL.exe", {App.Path(), {"TMP=" + Temp.Path(), "TEMP=" + Temp.Path()}});
    }

    // Started while the system's dots per inch are Dpi (Wine reads the user's setting
    // when a process starts, and has read it once the window shows).
    TProcess LaunchAt(DWORD Dpi) const
    {
        const TScopedRegistryValue System(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", Dpi);
        TProcess Program = Launch();
        WaitForTopWindow({"TFormMain", {}, Program.Id()});
        return Program;
    }

    // Closes the main window as the player does; the program's exit code.
    static long CloseAndWait(const TProcess& Program, HWND Main)
    {
        PostMessageA(Main, WM_CLOSE, 0, 0);
        return Program.WaitForExit();
    }

    TUnmanagedWindows Unmanaged{"TOL.exe"};
    TTestFolder App{"app"};
};

} // namespace tol::test

// The application object: its title and the window that owns the program's boxes.
#pragma once

#include <windows.h>

#include <string>

namespace tol {

struct TApplication {
    std::string Title;     // the task-bar text and the general handler's caption
    HWND Handle = nullptr; // owner of the program's message boxes and dialogs
    int ExitCode = 0;
    bool Terminated = false; // set when the program is to end without its message loop

    void Terminate(int Code) noexcept
    {
        ExitCode = Code;
        Terminated = true;
    }
};

extern TApplication Application;

} // namespace tol

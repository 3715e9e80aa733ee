// Programs a test starts: their environment, working folder and show command, the wait
// for their end and their exit codes. Their handles, null when there is none, are held
// by the program's own owner type.
#pragma once

#include "Owners.h"

#include <windows.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace tol::test {

using TKernelHandle = TOwner<TNullHandleTraits<HANDLE, CloseKernelHandle>>; // a process, an event

// How a program is started; by default as a player's double-click starts it: its own
// quoted name as its command line, shown normally, with this process's environment.
struct TStart {
    std::string Folder{};                   // its working folder; this process's when empty
    std::vector<std::string> Environment{}; // "NAME=value", over this process's own
    std::string CommandLine{};              // the quoted program name when empty
    WORD Show = SW_SHOWNORMAL;
    bool ShareStandardHandles = false; // this process's input and outputs
};

// The exit code of a process once it has ended, within Timeout; -1 while it still runs.
long ExitCode(HANDLE Process, std::chrono::milliseconds Timeout);

// A started program; ended by force at the end if it is still running.
class TProcess {
public:
    TProcess() = default; // none yet
    // Raises std::runtime_error when the system cannot start it.
    explicit TProcess(const std::string& FileName, const TStart& How = {});
    ~TProcess() { End(); }
    TProcess(TProcess&&) noexcept = default;
    TProcess& operator=(TProcess&& Other) noexcept
    {
        End();
        FHandle = std::move(Other.FHandle);
        FId = Other.FId;
        return *this;
    }

    HANDLE Handle() const noexcept { return FHandle.Get(); }
    DWORD Id() const noexcept { return FId; }
    bool Running() const;
    long WaitForExit(std::chrono::milliseconds Timeout = std::chrono::seconds(20)) const
    {
        return ExitCode(Handle(), Timeout);
    }
    // Ends it by force, if it still runs, waits until it has ended and lets go of it.
    void End();

private:
    TKernelHandle FHandle;
    DWORD FId = 0;
};

// The file names of the programs running now whose file lies in Folder (a path ending
// in "\\"), at any depth.
std::vector<std::string> ProgramsRunningFrom(const std::string& Folder);

} // namespace tol::test

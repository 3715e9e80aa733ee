// The window tests' program: it prepares the process as the program block does
// (TApplicationScope) and, under Wine, runs the tests in a second start of itself
// when the setting that spares each hidden window a 2 s wait was not yet in force.
#include "ApplicationScope.h"
#include "GuiSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr char ChildMarker[] = "TOLVANE_GUI_TEST_CHILD";

// The exit code of the second start; -1 when none was needed or possible.
long RunAgainWithTheSetting()
{
    if (GetEnvironmentVariableA(ChildMarker, nullptr, 0) > 0)
        return -1;
    char Exe[MAX_PATH + 1];
    const std::string Path(Exe, GetModuleFileNameA(nullptr, Exe, sizeof Exe));
    const tol::test::TUnmanagedWindows Unmanaged(Path.substr(Path.find_last_of('\\') + 1));
    if (!Unmanaged.Made())
        return -1; // in force since this process started, or not under Wine

    SetEnvironmentVariableA(ChildMarker, "1");
    STARTUPINFOA Startup{};
    Startup.cb = sizeof Startup;
    Startup.dwFlags = STARTF_USESTDHANDLES;
    Startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    Startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    Startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::string CommandLine = GetCommandLineA();
    PROCESS_INFORMATION Info{};
    if (!CreateProcessA(nullptr, CommandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &Startup, &Info))
        return -1;
    WaitForSingleObject(Info.hProcess, INFINITE);
    DWORD Code = 1;
    GetExitCodeProcess(Info.hProcess, &Code);
    CloseHandle(Info.hProcess);
    CloseHandle(Info.hThread);
    return static_cast<long>(Code);
}

} // namespace

int main(int argc, char** argv)
{
    if (const long Code = RunAgainWithTheSetting(); Code >= 0)
        return static_cast<int>(Code);

    testing::InitGoogleTest(&argc, argv);
    const tol::TApplicationScope Scope;
    return RUN_ALL_TESTS();
}

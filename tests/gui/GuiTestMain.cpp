// The window tests' program: it prepares the process as the program block does
// (TApplicationScope) and, under Wine, runs the tests in a second start of itself
// when the setting that spares each hidden window a 2 s wait was not yet in force.
#include "ApplicationScope.h"
#include "GuiSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr char ChildMarker[] = "TOLVANE_GUI_TEST_CHILD";

// The exit code of the second start; -1 when none was needed.
long RunAgainWithTheSetting()
{
    if (GetEnvironmentVariableA(ChildMarker, nullptr, 0) > 0)
        return -1;
    char Exe[MAX_PATH + 1];
    const std::string Path(Exe, GetModuleFileNameA(nullptr, Exe, sizeof Exe));
    const tol::test::TUnmanagedWindows Unmanaged(Path.substr(Path.find_last_of('\\') + 1));
    if (!Unmanaged.Made())
        return -1; // in force since this process started, or not under Wine

    const tol::test::TProcess Child(Path,
                                    {{}, {std::string(ChildMarker) + "=1"}, GetCommandLineA(), SW_SHOWNORMAL, true});
    return Child.WaitForExit(std::chrono::milliseconds::max());
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

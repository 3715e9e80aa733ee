// Start-up of the launcher against a bare window: from process start until the
// program first waits for input (its window shown and idle), with a 1000-zone
// catalogue, alternated with a program that opens one empty window. Also the
// launcher's peak working set once started.
#include "BenchSupport.h"

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

using namespace tol::bench;

namespace {

struct TStart {
    double Milliseconds;
    SIZE_T PeakWorkingSet;
};

BOOL CALLBACK CloseProcessWindows(HWND Window, LPARAM Process)
{
    DWORD Owner = 0;
    GetWindowThreadProcessId(Window, &Owner);
    if (Owner == static_cast<DWORD>(Process) && IsWindowVisible(Window))
        PostMessageA(Window, WM_CLOSE, 0, 0);
    return TRUE;
}

TStart StartAndClose(const std::string& Program, const std::string& Folder)
{
    STARTUPINFOA Startup{};
    Startup.cb = sizeof Startup;
    PROCESS_INFORMATION Process{};
    std::string CommandLine = "\"" + Program + "\"";
    const auto Start = TClock::now();
    if (!CreateProcessA(nullptr, CommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, Folder.c_str(), &Startup,
                        &Process))
        throw std::runtime_error("cannot start " + Program);
    const DWORD Idle = WaitForInputIdle(Process.hProcess, 30000);
    const double Elapsed = MillisecondsSince(Start);
    PROCESS_MEMORY_COUNTERS Memory{};
    Memory.cb = sizeof Memory;
    GetProcessMemoryInfo(Process.hProcess, &Memory, sizeof Memory);

    // The first wait for input can come while the window is still being shown, before
    // it counts as visible: the request to close is repeated until the program ends.
    DWORD Ended = WAIT_TIMEOUT;
    for (int Attempt = 0; Attempt < 300 && Ended == WAIT_TIMEOUT; ++Attempt) {
        EnumWindows(CloseProcessWindows, static_cast<LPARAM>(Process.dwProcessId));
        Ended = WaitForSingleObject(Process.hProcess, 100);
    }
    if (Ended != WAIT_OBJECT_0)
        TerminateProcess(Process.hProcess, 1);
    CloseHandle(Process.hThread);
    CloseHandle(Process.hProcess);
    if (Idle != 0 || Ended != WAIT_OBJECT_0)
        throw std::runtime_error(Program + " did not become idle or did not end (wait results "
                                 + std::to_string(Idle) + ", " + std::to_string(Ended) + ")");
    return {Elapsed, Memory.PeakWorkingSetSize};
}

int Run()
{
    TBenchFolder Folder("startup");
    WriteBytes(Folder / "TOL.exe", ReadBytes(WinePath(TOLVANE_TOL_EXE)));
    WriteBytes(Folder / "Bare.exe", ReadBytes(WinePath(TOLVANE_BARE_EXE)));
    std::string Ini = "[Settings]\r\nTutorial=" + Folder / "Tutorial.exe" + "\r\nOffset=1669500\r\n[Zones]\r\n";
    // TOLVANE_BENCH_ZONES sets another catalogue size, to see what the zones cost.
    const char* Count = std::getenv("TOLVANE_BENCH_ZONES");
    const int ZoneCount = Count ? std::atoi(Count) : 1000;
    for (int I = 0; I < ZoneCount; ++I)
        Ini += "Zone " + std::to_string(I) + "=zone" + std::to_string(I) + "|Works\r\n";
    WriteBytes(Folder / "TOL.ini", Ini);
    WriteBytes(Folder / "Tutorial.exe", "stand-in");

    constexpr int Rounds = 9;
    std::vector<double> Launcher, Bare;
    SIZE_T Peak = 0;
    StartAndClose(Folder / "TOL.exe", Folder.Path()); // warm-up: the system's libraries loaded once
    for (int Round = 0; Round < Rounds; ++Round) {
        // Alternated, the order swapped each round, so that drift hits both alike.
        const bool LauncherFirst = Round % 2 == 0;
        for (int Turn = 0; Turn < 2; ++Turn) {
            if ((Turn == 0) == LauncherFirst) {
                const TStart Start = StartAndClose(Folder / "TOL.exe", Folder.Path());
                Launcher.push_back(Start.Milliseconds);
                Peak = std::max(Peak, Start.PeakWorkingSet);
            } else {
                Bare.push_back(StartAndClose(Folder / "Bare.exe", Folder.Path()).Milliseconds);
            }
        }
    }
    const double L = Median(Launcher), B = Median(Bare);
    std::printf("  TOL.exe with %d zones, start to idle:  %8.2f ms (median of %d)\n", ZoneCount, L, Rounds);
    std::printf("  bare window, start to idle:              %8.2f ms (median of %d)\n", B, Rounds);
    std::printf("  ratio TOL.exe/bare: %.2f   (goal: at most 1.3: %s)\n", L / B, GoalText(L / B <= 1.3));
    std::printf("  TOL.exe peak working set after start-up: %.1f MB\n", static_cast<double>(Peak) / (1024 * 1024));
    return 0;
}

} // namespace

int main()
{
    return RunBenchmark("bench_startup", Run);
}

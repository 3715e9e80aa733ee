// Drives the launcher's real window for the unattended demo, with the messages a
// person's clicks would send: it waits for the main window, selects a zone and
// presses Run, then waits for the stand-in tutorial's window. Each step is one call:
//
//   DemoDriver [--desktop NAME] wait-main MS        window rectangle and the zones listed
//   DemoDriver [--desktop NAME] select ROW          selects a row of the zone list
//   DemoDriver [--desktop NAME] run MS              presses Run; waits for the launcher to end
//   DemoDriver [--desktop NAME] wait-window CAPTION MS  the stand-in tutorial's window
//   DemoDriver [--desktop NAME] wait-gone CLASS MS      until no window of CLASS is left
//
// --desktop joins a Wine virtual desktop ("wine explorer /desktop=NAME,..."), whose
// windows are not seen from the default desktop. Exit code 0 on success, 1 otherwise.
#include "RemoteWindows.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

using namespace tol::remote;

namespace {

constexpr char MainClass[] = "TFormMain";
constexpr char MainCaption[] = "Tolvane";

[[noreturn]] void Fail(const std::string& Message)
{
    throw std::runtime_error(Message);
}

// A count (milliseconds, a row) written in decimal digits.
DWORD Number(const std::string& Text)
{
    char* End = nullptr;
    const unsigned long Value = std::strtoul(Text.c_str(), &End, 10);
    if (Text.empty() || Text.front() == '-' || *End != '\0')
        Fail("not a number: " + Text);
    return static_cast<DWORD>(Value);
}

void PrintRect(const char* Label, HWND Window)
{
    RECT Rect{};
    GetWindowRect(Window, &Rect);
    std::printf("%s=%ld %ld %ld %ld\n", Label, Rect.left, Rect.top, Rect.right - Rect.left, Rect.bottom - Rect.top);
}

HWND MainWindow()
{
    const HWND Window = FindTopWindow(MainClass, MainCaption, 0);
    if (Window == nullptr)
        Fail("no launcher window (class TFormMain, caption Tolvane) is shown");
    return Window;
}

HWND Child(HWND Parent, const char* Class, const char* Text)
{
    const HWND Window = FindWindowExA(Parent, nullptr, Class, Text);
    if (Window == nullptr)
        Fail(std::string("the launcher window has no ") + Class + (Text ? std::string(" \"") + Text + "\"" : ""));
    return Window;
}

void WaitMain(DWORD Timeout)
{
    const HWND Window = WaitForTopWindow(MainClass, MainCaption, 0, Timeout);
    if (Window == nullptr)
        Fail("the launcher window did not appear within " + std::to_string(Timeout) + " ms");
    PrintRect("window", Window);
    TRemoteListView Zones(Child(Window, WC_LISTVIEWA, nullptr));
    std::printf("zones=%d\n", Zones.Count());
    for (int Row = 0; Row < Zones.Count(); ++Row)
        std::printf("zone %d=%s|%s|%s\n", Row, Zones.Text(Row, 0).c_str(), Zones.Text(Row, 1).c_str(),
                    Zones.Text(Row, 2).c_str());
}

void Select(int Row)
{
    TRemoteListView Zones(Child(MainWindow(), WC_LISTVIEWA, nullptr));
    if (Row < 0 || Row >= Zones.Count())
        Fail("no row " + std::to_string(Row) + " among " + std::to_string(Zones.Count()) + " zones");
    Zones.Select(Row);
    if (Zones.Selected() != Row)
        Fail("row " + std::to_string(Row) + " did not become the selected row");
    std::printf("selected=%s (%s)\n", Zones.Text(Row, 0).c_str(), Zones.Text(Row, 1).c_str());
}

void Run(DWORD Timeout)
{
    const HWND Window = MainWindow();
    const HWND Button = Child(Window, "Button", "&Run");
    DWORD ProcessId = 0;
    GetWindowThreadProcessId(Window, &ProcessId);
    const HANDLE Process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, ProcessId);
    if (Process == nullptr)
        Fail("cannot open the launcher's process");
    // Posted, not sent: a warning box the launcher might show must not hold the driver.
    PostMessageA(Button, BM_CLICK, 0, 0);
    const DWORD Start = GetTickCount();
    while (WaitForSingleObject(Process, 100) == WAIT_TIMEOUT) {
        const auto Boxes = DialogTexts(ProcessId);
        if (!Boxes.empty()) {
            CloseHandle(Process);
            Fail("the launcher showed a message instead of starting the zone: " + Boxes.front());
        }
        if (GetTickCount() - Start >= Timeout) {
            CloseHandle(Process);
            Fail("the launcher did not close within " + std::to_string(Timeout) + " ms of Run");
        }
    }
    DWORD Code = 0;
    GetExitCodeProcess(Process, &Code);
    CloseHandle(Process);
    std::printf("launcher exit code=%lu\n", Code);
    if (Code != 0)
        Fail("the launcher ended with exit code " + std::to_string(Code));
}

void WaitWindow(const std::string& Caption, DWORD Timeout)
{
    const HWND Window = WaitForTopWindow("TolvaneStandInTutorial", Caption.c_str(), 0, Timeout);
    if (Window == nullptr)
        Fail("no window \"" + Caption + "\" within " + std::to_string(Timeout) + " ms");
    PrintRect("window", Window);
}

void WaitGone(const std::string& Class, DWORD Timeout)
{
    if (!WaitUntilGone(Class.c_str(), nullptr, Timeout))
        Fail("windows of class " + Class + " still there after " + std::to_string(Timeout) + " ms");
}

// The desktop appears once "wine explorer /desktop=NAME,..." has started: waited for.
void JoinDesktop(const std::string& Name)
{
    constexpr DWORD Timeout = 30000;
    const DWORD Start = GetTickCount();
    HDESK Desktop;
    while ((Desktop = OpenDesktopA(Name.c_str(), 0, FALSE, GENERIC_ALL)) == nullptr) {
        if (GetTickCount() - Start >= Timeout)
            Fail("no desktop " + Name + " within " + std::to_string(Timeout) + " ms");
        Sleep(100);
    }
    if (!SetThreadDesktop(Desktop))
        Fail("cannot join the desktop " + Name);
}

int Usage()
{
    std::fprintf(stderr, "usage: DemoDriver [--desktop NAME] wait-main MS | select ROW | run MS"
                         " | wait-window CAPTION MS | wait-gone CLASS MS\n");
    return 2;
}

} // namespace

int main(int Argc, char** Argv)
{
    std::vector<std::string> Args(Argv + 1, Argv + Argc);
    try {
        if (Args.size() >= 2 && Args[0] == "--desktop") {
            JoinDesktop(Args[1]);
            Args.erase(Args.begin(), Args.begin() + 2);
        }
        if (Args.size() == 2 && Args[0] == "wait-main")
            WaitMain(Number(Args[1]));
        else if (Args.size() == 2 && Args[0] == "select")
            Select(static_cast<int>(Number(Args[1])));
        else if (Args.size() == 2 && Args[0] == "run")
            Run(Number(Args[1]));
        else if (Args.size() == 3 && Args[0] == "wait-window")
            WaitWindow(Args[1], Number(Args[2]));
        else if (Args.size() == 3 && Args[0] == "wait-gone")
            WaitGone(Args[1], Number(Args[2]));
        else
            return Usage();
    } catch (const std::exception& Error) {
        std::fflush(stdout);
        std::fprintf(stderr, "DemoDriver: %s\n", Error.what());
        return 1;
    }
    std::fflush(stdout);
    return 0;
}

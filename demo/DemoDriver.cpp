// Drives the launcher's real window for the unattended demo, with the messages a
// person's clicks would send: it waits for the main window, selects a zone and
// presses Run, then waits for the stand-in tutorial's window. Each step is one call:
//
//   DemoDriver [--desktop NAME] wait-main MS        window rectangle and the zones listed
//   DemoDriver [--desktop NAME] select ROW          selects a row of the zone list
//   DemoDriver [--desktop NAME] run MS              presses Run; waits for the launcher to end
//   DemoDriver [--desktop NAME] wait-window CAPTION MS  the stand-in tutorial's window
//   DemoDriver [--desktop NAME] wait-gone CLASS MS      until no window of CLASS is left
//   DemoDriver [--desktop NAME] move-to-scale DPI   as when the window is dragged to a
//                                                   monitor of that scale (WM_DPICHANGED)
//
// --desktop joins a Wine virtual desktop ("wine explorer /desktop=NAME,..."), whose
// windows are not seen from the default desktop. Exit code 0 on success, 1 otherwise.
#include "Processes.h"
#include "Wait.h"
#include "Windowing.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

using namespace tol::test;

namespace {

constexpr char MainClass[] = "TFormMain";
constexpr char MainCaption[] = "Tolvane";

[[noreturn]] void Fail(const std::string& Message) { throw std::runtime_error(Message); }

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
    const HWND Window = TopWindow({MainClass, MainCaption});
    if (Window == nullptr)
        Fail("no launcher window (class TFormMain, caption Tolvane) is shown");
    return Window;
}

HWND ZoneList(HWND Main)
{
    if (const HWND List = OnlyChild(Main, WC_LISTVIEWA))
        return List;
    Fail("the launcher window has no zone list");
}

void WaitMain(DWORD Timeout)
{
    const HWND Window = WaitForTopWindow({MainClass, MainCaption}, std::chrono::milliseconds(Timeout));
    if (Window == nullptr)
        Fail("the launcher window did not appear within " + std::to_string(Timeout) + " ms");
    PrintRect("window", Window);
    const auto Zones = Rows(ZoneList(Window));
    std::printf("zones=%d\n", static_cast<int>(Zones.size()));
    for (std::size_t Row = 0; Row < Zones.size(); ++Row)
        std::printf("zone %d=%s\n", static_cast<int>(Row), Zones[Row].c_str());
}

void Select(int Row)
{
    const HWND Zones = ZoneList(MainWindow());
    if (Row < 0 || Row >= RowCount(Zones))
        Fail("no row " + std::to_string(Row) + " among " + std::to_string(RowCount(Zones)) + " zones");
    SelectOnly(Zones, Row);
    if (SelectedRows(Zones) != std::vector<int>{Row})
        Fail("row " + std::to_string(Row) + " did not become the selected row");
    std::printf("selected=%s (%s)\n", ItemText(Zones, Row, 0).c_str(), ItemText(Zones, Row, 1).c_str());
}

void Run(DWORD Timeout)
{
    const HWND Window = MainWindow();
    const DWORD ProcessId = ProcessOf(Window);
    const TKernelHandle Process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, ProcessId));
    if (!Process)
        Fail("cannot open the launcher's process");
    PressButton(Window, "&Run");
    HWND Box = nullptr;
    const bool Ended = WaitUntil(
        [&] {
            Box = TopWindow({"#32770", {}, ProcessId});
            return Box || WaitForSingleObject(Process.Get(), 0) == WAIT_OBJECT_0;
        },
        std::chrono::milliseconds(Timeout), 100ms);
    if (Box) {
        std::string Message = Text(Box) + ":";
        for (const auto& Line : ChildTexts(Box, "Static"))
            Message += Line.empty() ? "" : " " + Line;
        Fail("the launcher showed a message instead of starting the zone: " + Message);
    }
    if (!Ended)
        Fail("the launcher did not close within " + std::to_string(Timeout) + " ms of Run");
    const long Code = ExitCode(Process.Get(), std::chrono::milliseconds(0));
    std::printf("launcher exit code=%ld\n", Code);
    if (Code != 0)
        Fail("the launcher ended with exit code " + std::to_string(Code));
}

void WaitWindow(const std::string& Caption, DWORD Timeout)
{
    const HWND Window = WaitForTopWindow({"TolvaneStandInTutorial", Caption}, std::chrono::milliseconds(Timeout));
    if (Window == nullptr)
        Fail("no window \"" + Caption + "\" within " + std::to_string(Timeout) + " ms");
    PrintRect("window", Window);
}

void WaitGone(const std::string& Class, DWORD Timeout)
{
    const auto Gone = [&] { return !TopWindow({Class, {}, 0, 0, false}); };
    if (!WaitUntil(Gone, std::chrono::milliseconds(Timeout), 50ms))
        Fail("windows of class " + Class + " still there after " + std::to_string(Timeout) + " ms");
}

// The window's frame grows with the scale, as Windows suggests it, from its size at 96.
void MoveToScale(DWORD Dpi)
{
    const HWND Window = MainWindow();
    RECT Frame{};
    GetWindowRect(Window, &Frame);
    const int Width = MulDiv(423, static_cast<int>(Dpi), 96), Height = MulDiv(314, static_cast<int>(Dpi), 96);
    SendWithRect(Window, WM_DPICHANGED, MAKEWPARAM(Dpi, Dpi),
                 RECT{Frame.left, Frame.top, Frame.left + Width, Frame.top + Height});
    PrintRect("window", Window);
}

// The desktop appears once "wine explorer /desktop=NAME,..." has started: waited for.
void JoinDesktop(const std::string& Name)
{
    HDESK Desktop = nullptr;
    const auto Opened = [&] { return (Desktop = OpenDesktopA(Name.c_str(), 0, FALSE, GENERIC_ALL)) != nullptr; };
    if (!WaitUntil(Opened, 30s, 100ms))
        Fail("no desktop " + Name + " within 30000 ms");
    if (!SetThreadDesktop(Desktop))
        Fail("cannot join the desktop " + Name);
}

int Usage()
{
    std::fprintf(stderr, "usage: DemoDriver [--desktop NAME] wait-main MS | select ROW | run MS"
                         " | wait-window CAPTION MS | wait-gone CLASS MS | move-to-scale DPI\n");
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
        else if (Args.size() == 2 && Args[0] == "move-to-scale")
            MoveToScale(Number(Args[1]));
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

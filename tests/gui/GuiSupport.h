// What the window tests share: the settings file beside the test program, the
// program's own message loop run until the thread is idle, readers of real controls,
// posted mouse and keyboard input, and a watcher thread that describes and answers
// the modal boxes the window thread opens (a modal box blocks that thread).
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tol::test {

// A length at 96 dots per inch in the system's dots per inch.
int Dpi96(int Value);

std::string Text(HWND Window);    // WM_GETTEXT; works across threads and processes
std::string ClassOf(HWND Window);
LONG StyleOf(HWND Window);
RECT ScreenRect(HWND Window);
SIZE ClientSize(HWND Window);
HWND Owner(HWND Window);
// True when a static control shows its whole text: wrapped at its width as it wraps
// it, in its own font, the text needs no more room than the control has.
bool ShowsWholeText(HWND Static);
// True when most of the control's area on the screen differs from the button face
// colour, that is, a picture is drawn there rather than the plain face.
bool ShowsAPicture(HWND Control);
// The same for a part of a window (client coordinates) on the given background.
bool ShowsAPicture(HWND Window, RECT Part, COLORREF Background);
// The tooltip text any tooltip window of Owner's thread holds for Control.
std::string ToolTipText(HWND Owner, HWND Control);

// The list view of the same process.
int RowCount(HWND List);
std::string ItemText(HWND List, int Row, int Column);
std::vector<int> SelectedRows(HWND List);
// The rows' texts, column by column, as one text per row ("a|b|c").
std::vector<std::string> Rows(HWND List);

// Selects Row alone, or no row when Row is -1.
void SelectOnly(HWND List, int Row);

// Input as the system delivers it to a window: client coordinates.
void PostClick(HWND Window, POINT At, WPARAM Keys = 0);
void PostDoubleClick(HWND Window, POINT At);
void PostKey(HWND Window, UINT Key);
void PostAltKey(HWND Window, char Letter);
POINT Centre(const RECT& Rect);

// Runs the program's message loop (RunMessageLoop) until the thread has nothing left
// to do and Main is enabled (no modal box of it is open). Returns PumpIdle, the
// program's own quit code when it ended the loop, or PumpTimeout.
enum : int { PumpIdle = 0x7701, PumpTimeout = 0x7702 };
int Pump(HWND Main, DWORD TimeoutMs = 20000);

// "TOL.ini" beside the running test program, where the main window looks for it;
// removed at the end.
class TSettingsBesideExe {
public:
    explicit TSettingsBesideExe(const std::string& Content);
    ~TSettingsBesideExe();
    TSettingsBesideExe(const TSettingsBesideExe&) = delete;
    TSettingsBesideExe& operator=(const TSettingsBesideExe&) = delete;
    static std::string Path();
};

// Under Wine with no window manager on the display, hiding a window that Wine's X11
// driver manages waits about 2 s for a manager that never answers. For the object's
// lifetime, Wine manages no window of the named program itself (the driver reads this
// when a process first uses the display). Nothing happens on Windows.
class TUnmanagedWindows {
public:
    explicit TUnmanagedWindows(const std::string& ProgramName);
    ~TUnmanagedWindows();
    TUnmanagedWindows(const TUnmanagedWindows&) = delete;
    TUnmanagedWindows& operator=(const TUnmanagedWindows&) = delete;
    // True when this object made the setting, which then holds for programs started later.
    bool Made() const noexcept { return FCreated; }

private:
    std::string FKey;
    bool FCreated = false;
};

// A modal box as the watcher found it.
struct TControl {
    HWND Handle;
    std::string Class, Text;
    LONG Style;
    RECT Bounds; // on the screen
};
struct TBox {
    HWND Window = nullptr;
    std::string Class, Caption;
    RECT Frame{};
    SIZE Client{};
    LONG Style = 0, ExStyle = 0;
    HWND Owner = nullptr, Focus = nullptr;
    std::vector<TControl> Controls; // every descendant, in enumeration order
    std::vector<std::string> Texts(const char* ClassName) const;
    const TControl* Find(const char* ClassName, const std::string& Text) const;
};

// Answers to a box.
void PressEnter(const TBox& Box);
void PressEscape(const TBox& Box);
void PressCloseBox(const TBox& Box);

// From a thread of its own, finds each visible modal box ("#32770" or "TFormAbout")
// of the thread that made the watcher, describes it and hands it to the action. A box
// still open 10 s after its action is closed by force and noted as a problem.
class TBoxWatcher {
public:
    using TAction = std::function<void(const TBox&)>;
    explicit TBoxWatcher(TAction Action = PressEnter);
    ~TBoxWatcher();
    TBoxWatcher(const TBoxWatcher&) = delete;
    TBoxWatcher& operator=(const TBoxWatcher&) = delete;

    void SetAction(TAction Action);

    std::vector<TBox> Boxes();
    std::vector<std::string> Problems();
    void Clear();

private:
    void Run();
    const DWORD FThreadId;
    TAction FAction;
    std::atomic<bool> FStop{false};
    std::mutex FLock;
    std::vector<TBox> FBoxes;
    std::vector<std::string> FProblems;
    std::thread FWorker;
};

} // namespace tol::test

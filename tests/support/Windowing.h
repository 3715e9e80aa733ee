// Windows of this process or of another, found, read and driven with real messages, as
// a player's eyes and hands reach them; the demo's driver reads the launcher with them
// too. A window's text comes through WM_GETTEXT, which the system carries across
// processes. List-view requests carry pointers, which it does not: their records live
// in a block of memory inside the list's own process.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace tol::test {

// Top-level windows of Class (any when empty) with Caption (any when none), of a
// process and a thread (any when 0).
struct TWindowQuery {
    std::string Class{};
    std::optional<std::string> Caption{};
    DWORD ProcessId = 0, ThreadId = 0;
    bool VisibleOnly = true;
};
std::vector<HWND> TopWindows(const TWindowQuery& Query);
// The first of them; null when there is none.
HWND TopWindow(const TWindowQuery& Query);
// The first of them once there is one; null when none came within Deadline.
HWND WaitForTopWindow(const TWindowQuery& Query, std::chrono::milliseconds Deadline = std::chrono::seconds(20));

std::string Text(HWND Window); // "<no answer>" from a window that does not answer
std::string ClassOf(HWND Window);
LONG StyleOf(HWND Window);
RECT ScreenRect(HWND Window);
SIZE ClientSize(HWND Window);
DWORD ProcessOf(HWND Window);
// Its middle within a pixel of the screen's.
bool CentredOnScreen(const RECT& Frame);
LOGFONTA FontOf(HWND Control);

// The direct children of Class (without regard to case), the one child of Class (null
// unless there is exactly one), their texts, and the first with the text Wanted.
std::vector<HWND> Children(HWND Parent, const char* Class);
HWND OnlyChild(HWND Parent, const char* Class);
std::vector<std::string> ChildTexts(HWND Parent, const char* Class);
HWND ChildWithText(HWND Parent, const char* Class, const std::string& Wanted);

// The items of a combo box's list.
std::vector<std::string> ComboItems(HWND Combo);

// A list view, of this process or another.
int RowCount(HWND List);
std::string ItemText(HWND List, int Row, int Column);
std::vector<std::string> ColumnTexts(HWND List, int Column);
// The rows' texts, column by column, as one text per row ("a|b|c").
std::vector<std::string> Rows(HWND List);
std::vector<int> SelectedRows(HWND List);
// Where the row's picture, and its cell in Column (in the first, its label), are drawn,
// in the list's client coordinates.
RECT ItemIconRect(HWND List, int Row);
// Sends Message to Window with Data placed in Window's process, as the system hands a
// window a structure of its own (WM_DPICHANGED's suggested rectangle).
LRESULT SendWithRect(HWND Window, UINT Message, WPARAM WParam, RECT Data);
RECT ItemRect(HWND List, int Row, int Column);
// Selects and focuses Row alone, and scrolls it into view; no row when Row is -1.
void SelectOnly(HWND List, int Row);

// A length at 96 dots per inch in the system's dots per inch.
int Dpi96(int Value);
// True when a static control shows its whole text: wrapped at its width as it wraps
// it, in its own font, the text needs no more room than the control has.
bool ShowsWholeText(HWND Static);
// True when much of a part of a window (client coordinates; all of it when empty)
// differs from Background, that is, a picture is drawn there rather than a plain face.
bool ShowsAPicture(HWND Window, RECT Part = {}, COLORREF Background = GetSysColor(COLOR_BTNFACE));
// The tooltip text any tooltip window of Owner's thread holds for Control.
std::string ToolTipText(HWND Owner, HWND Control);
// A picture's width and height in pixels; 0 x 0 for none.
std::pair<int, int> PictureSize(HBITMAP Bitmap);
std::pair<int, int> PictureSize(HICON Icon);
std::pair<int, int> PictureSize(HIMAGELIST List);

// Input as the system delivers it to a window: client coordinates.
void PostClick(HWND Window, POINT At, WPARAM Keys = 0);
void PostDoubleClick(HWND Window, POINT At);
void PostKey(HWND Window, UINT Key, bool WithAlt = false);
POINT Centre(const RECT& Rect);
// A click of Parent's button captioned Caption, posted: a box it opens must not hold the caller.
void PressButton(HWND Parent, const std::string& Caption);
// Key to the box's focused control, as typing would; to the box when none of it has focus.
void PressKeyIn(HWND Box, UINT Key);

// A box as it was found.
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
    HWND Owner = nullptr;
    HICON Icon = nullptr;           // the picture of its icon control, if it has one
    std::vector<TControl> Controls; // every descendant, in enumeration order
    std::vector<std::string> Texts(const char* ClassName) const;
    // The first control of ClassName with Text, or for which Wanted holds; null when none.
    const TControl* Find(const char* ClassName, const std::string& Text) const;
    const TControl* FindIf(const char* ClassName, const std::function<bool(const TControl&)>& Wanted) const;
};
TBox Describe(HWND Window);

// Answers to a box.
void PressEnter(const TBox& Box);
void PressEscape(const TBox& Box);
void PressCloseBox(const TBox& Box);

// From a thread of its own, finds each visible modal box ("#32770" or "TFormAbout") of
// the thread that made the watcher, or of another program (ProcessId), describes it and
// hands it to the action (Enter, unless one is set). A box still open 10 s after its
// action is closed by force and noted as a problem.
class TBoxWatcher {
public:
    using TAction = std::function<void(const TBox&)>;
    explicit TBoxWatcher(DWORD ProcessId = 0);
    ~TBoxWatcher();
    TBoxWatcher(const TBoxWatcher&) = delete;
    TBoxWatcher& operator=(const TBoxWatcher&) = delete;

    void SetAction(TAction Action);

    std::vector<TBox> Boxes();
    std::vector<std::string> Problems();
    void Clear();

private:
    void Run();
    const TWindowQuery FWhere;
    TAction FAction;
    std::atomic<bool> FStop{false};
    std::mutex FLock;
    std::vector<TBox> FBoxes;
    std::vector<std::string> FProblems;
    std::thread FWorker;
};

} // namespace tol::test

#include "GuiSupport.h"

#include "Controls.h"
#include "Form.h"

#include <commctrl.h>

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace tol::test {

int Dpi96(int Value)
{
    const HDC Screen = GetDC(nullptr);
    const int Dpi = GetDeviceCaps(Screen, LOGPIXELSY);
    ReleaseDC(nullptr, Screen);
    return MulDiv(Value, Dpi, 96);
}

std::string Text(HWND Window)
{
    char Buffer[4096] = {};
    DWORD_PTR Length = 0;
    if (!SendMessageTimeoutA(Window, WM_GETTEXT, sizeof Buffer, reinterpret_cast<LPARAM>(Buffer), SMTO_ABORTIFHUNG,
                             5000, &Length))
        return "<no answer>";
    return std::string(Buffer, std::min<std::size_t>(Length, sizeof Buffer - 1));
}

std::string ClassOf(HWND Window)
{
    char Buffer[256] = {};
    return std::string(Buffer, static_cast<std::size_t>(GetClassNameA(Window, Buffer, sizeof Buffer)));
}

LONG StyleOf(HWND Window) { return GetWindowLongA(Window, GWL_STYLE); }

RECT ScreenRect(HWND Window)
{
    RECT Rect{};
    GetWindowRect(Window, &Rect);
    return Rect;
}

SIZE ClientSize(HWND Window)
{
    RECT Rect{};
    GetClientRect(Window, &Rect);
    return SIZE{Rect.right, Rect.bottom};
}

HWND Owner(HWND Window) { return GetWindow(Window, GW_OWNER); }

bool ShowsWholeText(HWND Static)
{
    const std::string Content = Text(Static);
    RECT Client{};
    GetClientRect(Static, &Client);
    const TFontDc Dc = GetFontDc(Static, reinterpret_cast<HFONT>(SendMessageA(Static, WM_GETFONT, 0, 0)));
    RECT Needed{0, 0, Client.right, 0};
    DrawTextA(Dc.Get().Dc, Content.c_str(), static_cast<int>(Content.size()), &Needed,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    return Needed.right <= Client.right && Needed.bottom <= Client.bottom;
}

namespace {

// True when at least a fifth of the screen's pixels inside Rect (its edge left out)
// differ from Background.
bool MostlyDrawn(const RECT& Rect, COLORREF Background)
{
    const HDC Screen = GetDC(nullptr);
    int Drawn = 0, All = 0;
    for (int Y = Rect.top + 1; Y < Rect.bottom - 1; Y += 2)
        for (int X = Rect.left + 1; X < Rect.right - 1; X += 2, ++All)
            if (GetPixel(Screen, X, Y) != Background)
                ++Drawn;
    ReleaseDC(nullptr, Screen);
    return All > 0 && Drawn * 5 >= All;
}

} // namespace

bool ShowsAPicture(HWND Control)
{
    return MostlyDrawn(ScreenRect(Control), GetSysColor(COLOR_BTNFACE));
}

bool ShowsAPicture(HWND Window, RECT Part, COLORREF Background)
{
    MapWindowPoints(Window, nullptr, reinterpret_cast<POINT*>(&Part), 2);
    InflateRect(&Part, 1, 1);
    return MostlyDrawn(Part, Background);
}

namespace {

struct TToolTipQuery {
    HWND Owner, Control;
    std::string Text;
};

BOOL CALLBACK AskToolTip(HWND Window, LPARAM Param)
{
    auto& Query = *reinterpret_cast<TToolTipQuery*>(Param);
    if (ClassOf(Window) != TOOLTIPS_CLASSA)
        return TRUE;
    char Buffer[1024] = {};
    TOOLINFOA Tool{};
    Tool.cbSize = sizeof Tool;
    Tool.hwnd = Query.Owner;
    Tool.uId = reinterpret_cast<UINT_PTR>(Query.Control);
    Tool.lpszText = Buffer;
    SendMessageA(Window, TTM_GETTEXTA, sizeof Buffer, reinterpret_cast<LPARAM>(&Tool));
    if (Tool.lpszText == Buffer && Buffer[0]) {
        Query.Text = Buffer;
        return FALSE;
    }
    return TRUE;
}

} // namespace

std::string ToolTipText(HWND OwnerWindow, HWND Control)
{
    TToolTipQuery Query{OwnerWindow, Control, {}};
    EnumThreadWindows(GetWindowThreadProcessId(OwnerWindow, nullptr), AskToolTip, reinterpret_cast<LPARAM>(&Query));
    return Query.Text;
}

int RowCount(HWND List) { return static_cast<int>(SendMessageA(List, LVM_GETITEMCOUNT, 0, 0)); }

std::string ItemText(HWND List, int Row, int Column)
{
    char Buffer[1024] = {};
    LVITEMA Item{};
    Item.iSubItem = Column;
    Item.pszText = Buffer;
    Item.cchTextMax = sizeof Buffer;
    const auto Length = SendMessageA(List, LVM_GETITEMTEXTA, static_cast<WPARAM>(Row), reinterpret_cast<LPARAM>(&Item));
    return std::string(Buffer, static_cast<std::size_t>(std::max<LRESULT>(Length, 0)));
}

std::vector<int> SelectedRows(HWND List)
{
    std::vector<int> Selected;
    for (int Row = -1;;) {
        Row = static_cast<int>(SendMessageA(List, LVM_GETNEXTITEM, static_cast<WPARAM>(Row), LVNI_SELECTED));
        if (Row < 0)
            return Selected;
        Selected.push_back(Row);
    }
}

std::vector<std::string> Rows(HWND List)
{
    std::vector<std::string> Result;
    for (int Row = 0; Row < RowCount(List); ++Row)
        Result.push_back(ItemText(List, Row, 0) + "|" + ItemText(List, Row, 1) + "|" + ItemText(List, Row, 2));
    return Result;
}

void SelectOnly(HWND List, int Row)
{
    LVITEMA State{};
    State.stateMask = LVIS_SELECTED;
    SendMessageA(List, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&State));
    if (Row >= 0) {
        State.state = LVIS_SELECTED;
        SendMessageA(List, LVM_SETITEMSTATE, static_cast<WPARAM>(Row), reinterpret_cast<LPARAM>(&State));
    }
}

void PostClick(HWND Window, POINT At, WPARAM Keys)
{
    const LPARAM Where = MAKELPARAM(At.x, At.y);
    PostMessageA(Window, WM_MOUSEMOVE, Keys, Where);
    PostMessageA(Window, WM_LBUTTONDOWN, MK_LBUTTON | Keys, Where);
    PostMessageA(Window, WM_LBUTTONUP, Keys, Where);
}

void PostDoubleClick(HWND Window, POINT At)
{
    const LPARAM Where = MAKELPARAM(At.x, At.y);
    PostMessageA(Window, WM_LBUTTONDOWN, MK_LBUTTON, Where);
    PostMessageA(Window, WM_LBUTTONUP, 0, Where);
    PostMessageA(Window, WM_LBUTTONDBLCLK, MK_LBUTTON, Where);
    PostMessageA(Window, WM_LBUTTONUP, 0, Where);
}

void PostKey(HWND Window, UINT Key)
{
    const LPARAM Scan = static_cast<LPARAM>(MapVirtualKeyA(Key, MAPVK_VK_TO_VSC)) << 16;
    PostMessageA(Window, WM_KEYDOWN, Key, 1 | Scan);
    PostMessageA(Window, WM_KEYUP, Key, 1 | Scan | static_cast<LPARAM>(0xC0000000u));
}

void PostAltKey(HWND Window, char Letter)
{
    // Bit 29: the Alt key is down, as the system marks a key pressed with it.
    const UINT Key = static_cast<UINT>(Letter);
    const LPARAM Scan = static_cast<LPARAM>(MapVirtualKeyA(Key, MAPVK_VK_TO_VSC)) << 16;
    PostMessageA(Window, WM_SYSKEYDOWN, Key, 1 | Scan | (1 << 29));
    PostMessageA(Window, WM_SYSKEYUP, Key, 1 | Scan | (1 << 29) | static_cast<LPARAM>(0xC0000000u));
}

POINT Centre(const RECT& Rect) { return POINT{(Rect.left + Rect.right) / 2, (Rect.top + Rect.bottom) / 2}; }

namespace {

struct TPump {
    HWND Main = nullptr;
    DWORD Start = 0, Limit = 0;
    UINT_PTR Timer = 0;
    int IdleTicks = 0;
} ThePump;

void CALLBACK PumpTick(HWND, UINT, UINT_PTR, DWORD)
{
    if (GetTickCount() - ThePump.Start > ThePump.Limit) {
        KillTimer(nullptr, ThePump.Timer);
        PostQuitMessage(PumpTimeout);
        return;
    }
    // A timer comes only when nothing else is queued; two quiet ticks in a row, with
    // no modal box disabling the main window, mean the thread is idle.
    const bool Busy = HIWORD(GetQueueStatus(QS_ALLINPUT)) != 0
                      || (ThePump.Main && IsWindow(ThePump.Main) && !IsWindowEnabled(ThePump.Main));
    ThePump.IdleTicks = Busy ? 0 : ThePump.IdleTicks + 1;
    if (ThePump.IdleTicks >= 2) {
        KillTimer(nullptr, ThePump.Timer);
        PostQuitMessage(PumpIdle);
    }
}

} // namespace

int Pump(HWND Main, DWORD TimeoutMs)
{
    ThePump = TPump{Main, GetTickCount(), TimeoutMs, 0, 0};
    ThePump.Timer = SetTimer(nullptr, 0, 30, PumpTick);
    const int Code = RunMessageLoop();
    KillTimer(nullptr, ThePump.Timer);
    return Code;
}

std::string TSettingsBesideExe::Path()
{
    char Buffer[MAX_PATH + 1];
    const std::string Exe(Buffer, GetModuleFileNameA(nullptr, Buffer, sizeof Buffer));
    return Exe.substr(0, Exe.find_last_of('\\') + 1) + "TOL.ini";
}

TSettingsBesideExe::TSettingsBesideExe(const std::string& Content)
{
    std::ofstream File(Path(), std::ios::binary | std::ios::trunc);
    File << Content;
    if (!File)
        throw std::runtime_error("cannot write " + Path());
}

TSettingsBesideExe::~TSettingsBesideExe() { DeleteFileA(Path().c_str()); }

TUnmanagedWindows::TUnmanagedWindows(const std::string& ProgramName)
{
    const HMODULE Ntdll = GetModuleHandleA("ntdll.dll");
    if (!Ntdll || !GetProcAddress(Ntdll, "wine_get_version"))
        return;
    FKey = "Software\\Wine\\AppDefaults\\" + ProgramName;
    HKEY Key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, FKey.c_str(), 0, KEY_READ, &Key) == ERROR_SUCCESS) {
        RegCloseKey(Key);
        return; // the prefix's own settings for the program are left as they are
    }
    if (RegCreateKeyExA(HKEY_CURRENT_USER, (FKey + "\\X11 Driver").c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &Key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(Key, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
    RegCloseKey(Key);
    FCreated = true;
}

TUnmanagedWindows::~TUnmanagedWindows()
{
    if (FCreated)
        RegDeleteTreeA(HKEY_CURRENT_USER, FKey.c_str());
}

std::vector<std::string> TBox::Texts(const char* ClassName) const
{
    std::vector<std::string> Result;
    for (const auto& Control : Controls)
        if (lstrcmpiA(Control.Class.c_str(), ClassName) == 0)
            Result.push_back(Control.Text);
    return Result;
}

const TControl* TBox::Find(const char* ClassName, const std::string& WantedText) const
{
    for (const auto& Control : Controls)
        if (lstrcmpiA(Control.Class.c_str(), ClassName) == 0 && Control.Text == WantedText)
            return &Control;
    return nullptr;
}

namespace {

HWND FocusOf(HWND Box)
{
    GUITHREADINFO Info{};
    Info.cbSize = sizeof Info;
    GetGUIThreadInfo(GetWindowThreadProcessId(Box, nullptr), &Info);
    return Info.hwndFocus;
}

// Keys go to the focused control, as typing would; to the box when none has focus.
HWND KeyTarget(const TBox& Box)
{
    const HWND Focus = FocusOf(Box.Window);
    return Focus && (Focus == Box.Window || IsChild(Box.Window, Focus)) ? Focus : Box.Window;
}

BOOL CALLBACK AddControl(HWND Child, LPARAM Param)
{
    reinterpret_cast<TBox*>(Param)->Controls.push_back({Child, ClassOf(Child), Text(Child), StyleOf(Child), ScreenRect(Child)});
    return TRUE;
}

TBox Describe(HWND Window)
{
    TBox Box;
    Box.Window = Window;
    Box.Class = ClassOf(Window);
    Box.Caption = Text(Window);
    Box.Frame = ScreenRect(Window);
    Box.Client = ClientSize(Window);
    Box.Style = StyleOf(Window);
    Box.ExStyle = GetWindowLongA(Window, GWL_EXSTYLE);
    Box.Owner = Owner(Window);
    Box.Focus = FocusOf(Window);
    EnumChildWindows(Window, AddControl, reinterpret_cast<LPARAM>(&Box));
    return Box;
}

BOOL CALLBACK FindBox(HWND Window, LPARAM Param)
{
    const std::string Class = ClassOf(Window);
    if (IsWindowVisible(Window) && (Class == "#32770" || Class == "TFormAbout")) {
        *reinterpret_cast<HWND*>(Param) = Window;
        return FALSE;
    }
    return TRUE;
}

bool WaitGone(HWND Window, DWORD TimeoutMs)
{
    const DWORD Start = GetTickCount();
    while (IsWindow(Window) && IsWindowVisible(Window)) {
        if (GetTickCount() - Start > TimeoutMs)
            return false;
        Sleep(10);
    }
    return true;
}

} // namespace

void PressEnter(const TBox& Box) { PostKey(KeyTarget(Box), VK_RETURN); }

void PressEscape(const TBox& Box) { PostKey(KeyTarget(Box), VK_ESCAPE); }

void PressCloseBox(const TBox& Box) { PostMessageA(Box.Window, WM_SYSCOMMAND, SC_CLOSE, 0); }

TBoxWatcher::TBoxWatcher(TAction Action)
    : FThreadId(GetCurrentThreadId()), FAction(std::move(Action)), FWorker([this] { Run(); })
{
}

TBoxWatcher::~TBoxWatcher()
{
    FStop = true;
    FWorker.join();
}

void TBoxWatcher::SetAction(TAction Action)
{
    std::lock_guard Guard(FLock);
    FAction = std::move(Action);
}

std::vector<TBox> TBoxWatcher::Boxes()
{
    std::lock_guard Guard(FLock);
    return FBoxes;
}

std::vector<std::string> TBoxWatcher::Problems()
{
    std::lock_guard Guard(FLock);
    return FProblems;
}

void TBoxWatcher::Clear()
{
    std::lock_guard Guard(FLock);
    FBoxes.clear();
    FProblems.clear();
}

void TBoxWatcher::Run()
{
    while (!FStop) {
        HWND Window = nullptr;
        EnumThreadWindows(FThreadId, FindBox, reinterpret_cast<LPARAM>(&Window));
        if (!Window) {
            Sleep(15);
            continue;
        }
        Sleep(100); // the box has shown itself; let it finish setting its focus
        if (!IsWindow(Window) || !IsWindowVisible(Window))
            continue;
        const TBox Box = Describe(Window);
        {
            std::lock_guard Guard(FLock);
            FBoxes.push_back(Box);
        }
        TAction Action;
        {
            std::lock_guard Guard(FLock);
            Action = FAction;
        }
        Action(Box);
        if (!WaitGone(Window, 10000)) {
            {
                std::lock_guard Guard(FLock);
                FProblems.push_back("left open by its answer: \"" + Box.Caption + "\"");
            }
            PostMessageA(Window, WM_COMMAND, IDOK, 0);
            PostMessageA(Window, WM_CLOSE, 0, 0);
            WaitGone(Window, 5000);
        }
    }
}

} // namespace tol::test

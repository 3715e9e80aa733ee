#include "Windowing.h"

#include "Wait.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace tol::test {

namespace {

BOOL CALLBACK AddTopWindow(HWND Window, LPARAM Param)
{
    auto& [Query, Found] = *reinterpret_cast<std::pair<const TWindowQuery*, std::vector<HWND>>*>(Param);
    DWORD ProcessId = 0;
    const DWORD ThreadId = GetWindowThreadProcessId(Window, &ProcessId);
    if ((!Query->VisibleOnly || IsWindowVisible(Window)) && (!Query->ProcessId || ProcessId == Query->ProcessId)
        && (!Query->ThreadId || ThreadId == Query->ThreadId)
        && (Query->Class.empty() || ClassOf(Window) == Query->Class)
        && (!Query->Caption || Text(Window) == *Query->Caption))
        Found.push_back(Window);
    return TRUE;
}

} // namespace

std::vector<HWND> TopWindows(const TWindowQuery& Query)
{
    std::pair<const TWindowQuery*, std::vector<HWND>> Search{&Query, {}};
    EnumWindows(AddTopWindow, reinterpret_cast<LPARAM>(&Search));
    return Search.second;
}

HWND TopWindow(const TWindowQuery& Query)
{
    const auto Found = TopWindows(Query);
    return Found.empty() ? nullptr : Found.front();
}

HWND WaitForTopWindow(const TWindowQuery& Query, std::chrono::milliseconds Deadline)
{
    HWND Found = nullptr;
    WaitUntil([&] { return (Found = TopWindow(Query)) != nullptr; }, Deadline);
    return Found;
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

DWORD ProcessOf(HWND Window)
{
    DWORD Id = 0;
    GetWindowThreadProcessId(Window, &Id);
    return Id;
}

bool CentredOnScreen(const RECT& Frame)
{
    const POINT Middle = Centre(Frame);
    return std::abs(Middle.x - GetSystemMetrics(SM_CXSCREEN) / 2) <= 1
           && std::abs(Middle.y - GetSystemMetrics(SM_CYSCREEN) / 2) <= 1;
}

LOGFONTA FontOf(HWND Control)
{
    LOGFONTA Font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Control, WM_GETFONT, 0, 0)), sizeof Font, &Font);
    return Font;
}

std::vector<HWND> Children(HWND Parent, const char* Class)
{
    std::vector<HWND> Found;
    for (HWND Child = GetWindow(Parent, GW_CHILD); Child; Child = GetWindow(Child, GW_HWNDNEXT))
        if (lstrcmpiA(ClassOf(Child).c_str(), Class) == 0)
            Found.push_back(Child);
    return Found;
}

HWND OnlyChild(HWND Parent, const char* Class)
{
    const auto Found = Children(Parent, Class);
    return Found.size() == 1 ? Found[0] : nullptr;
}

std::vector<std::string> ChildTexts(HWND Parent, const char* Class)
{
    std::vector<std::string> Texts;
    for (HWND Child : Children(Parent, Class))
        Texts.push_back(Text(Child));
    return Texts;
}

HWND ChildWithText(HWND Parent, const char* Class, const std::string& Wanted)
{
    for (HWND Child : Children(Parent, Class))
        if (Text(Child) == Wanted)
            return Child;
    return nullptr;
}

std::vector<std::string> ComboItems(HWND Combo)
{
    std::vector<std::string> Items;
    for (WPARAM I = 0; I < static_cast<WPARAM>(SendMessageA(Combo, CB_GETCOUNT, 0, 0)); ++I) {
        std::string Item(static_cast<std::size_t>(std::max<LRESULT>(SendMessageA(Combo, CB_GETLBTEXTLEN, I, 0), 0)),
                         '\0');
        SendMessageA(Combo, CB_GETLBTEXT, I, reinterpret_cast<LPARAM>(Item.data()));
        Items.push_back(Item);
    }
    return Items;
}

int Dpi96(int Value)
{
    const HDC Screen = GetDC(nullptr);
    const int Dpi = GetDeviceCaps(Screen, LOGPIXELSY);
    ReleaseDC(nullptr, Screen);
    return MulDiv(Value, Dpi, 96);
}

bool ShowsWholeText(HWND Static)
{
    const std::string Content = Text(Static);
    RECT Client{};
    GetClientRect(Static, &Client);
    const HDC Dc = GetDC(Static);
    const HGDIOBJ Old = SelectObject(Dc, reinterpret_cast<HGDIOBJ>(SendMessageA(Static, WM_GETFONT, 0, 0)));
    RECT Needed{0, 0, Client.right, 0};
    DrawTextA(Dc, Content.c_str(), static_cast<int>(Content.size()), &Needed,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    SelectObject(Dc, Old);
    ReleaseDC(Static, Dc);
    return Needed.right <= Client.right && Needed.bottom <= Client.bottom;
}

bool ShowsAPicture(HWND Window, RECT Part, COLORREF Background)
{
    // A fifth of the pixels inside the part, its edge left out, differ from the background.
    if (IsRectEmpty(&Part)) {
        Part = ScreenRect(Window);
    } else {
        MapWindowPoints(Window, nullptr, reinterpret_cast<POINT*>(&Part), 2);
        InflateRect(&Part, 1, 1);
    }
    const HDC Screen = GetDC(nullptr);
    int Drawn = 0, All = 0;
    for (int Y = Part.top + 1; Y < Part.bottom - 1; Y += 2)
        for (int X = Part.left + 1; X < Part.right - 1; X += 2, ++All)
            if (GetPixel(Screen, X, Y) != Background)
                ++Drawn;
    ReleaseDC(nullptr, Screen);
    return All > 0 && Drawn * 5 >= All;
}

std::string ToolTipText(HWND OwnerWindow, HWND Control)
{
    for (HWND Tip : TopWindows({TOOLTIPS_CLASSA, {}, 0, GetWindowThreadProcessId(OwnerWindow, nullptr), false})) {
        char Buffer[1024] = {};
        TOOLINFOA Tool{};
        Tool.cbSize = sizeof Tool;
        Tool.hwnd = OwnerWindow;
        Tool.uId = reinterpret_cast<UINT_PTR>(Control);
        Tool.lpszText = Buffer;
        SendMessageA(Tip, TTM_GETTEXTA, sizeof Buffer, reinterpret_cast<LPARAM>(&Tool));
        if (Tool.lpszText == Buffer && Buffer[0])
            return Buffer;
    }
    return {};
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

void PostKey(HWND Window, UINT Key, bool WithAlt)
{
    // Bit 29: the Alt key is down, as the system marks a key pressed with it.
    const LPARAM Flags = 1 | static_cast<LPARAM>(MapVirtualKeyA(Key, MAPVK_VK_TO_VSC)) << 16 | (WithAlt ? 1 << 29 : 0);
    PostMessageA(Window, WithAlt ? WM_SYSKEYDOWN : WM_KEYDOWN, Key, Flags);
    PostMessageA(Window, WithAlt ? WM_SYSKEYUP : WM_KEYUP, Key, Flags | static_cast<LPARAM>(0xC0000000u));
}

POINT Centre(const RECT& Rect) { return POINT{(Rect.left + Rect.right) / 2, (Rect.top + Rect.bottom) / 2}; }

void PressButton(HWND Parent, const std::string& Caption)
{
    const HWND Button = ChildWithText(Parent, "Button", Caption);
    if (!Button)
        throw std::runtime_error("no button \"" + Caption + "\"");
    PostMessageA(Button, BM_CLICK, 0, 0);
}

std::pair<int, int> PictureSize(HBITMAP Bitmap)
{
    BITMAP Info{};
    if (!GetObjectA(Bitmap, sizeof Info, &Info))
        return {0, 0};
    return {static_cast<int>(Info.bmWidth), static_cast<int>(Info.bmHeight)};
}

std::pair<int, int> PictureSize(HICON Icon)
{
    ICONINFO Info{};
    if (!Icon || !GetIconInfo(Icon, &Info))
        return {0, 0};
    const auto Size = PictureSize(Info.hbmColor);
    DeleteObject(Info.hbmColor);
    DeleteObject(Info.hbmMask);
    return Size;
}

std::pair<int, int> PictureSize(HIMAGELIST List)
{
    int Width = 0, Height = 0;
    return List && ImageList_GetIconSize(List, &Width, &Height) ? std::make_pair(Width, Height) : std::make_pair(0, 0);
}

} // namespace tol::test

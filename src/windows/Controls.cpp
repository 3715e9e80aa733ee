#include "Controls.h"

#include "Dpi.h"
#include "Errors.h"
#include "Texts.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

namespace tol {

TFontDc GetFontDc(HWND Window, HFONT Font)
{
    const HDC Dc = ::GetDC(Window);
    if (!Dc)
        throw std::runtime_error(Texts::TextNotMeasured);
    return TFontDc(
        {Window, Dc, ::SelectObject(Dc, Font ? static_cast<HGDIOBJ>(Font) : ::GetStockObject(DEFAULT_GUI_FONT))});
}

HWND CreateControl(HWND Parent, const TControlDesc& Desc, HFONT Font, const RECT& Bounds)
{
    const HWND Control = ::CreateWindowExA(
        Desc.ExStyle, Desc.Class, Desc.Text, WS_CHILD | WS_VISIBLE | Desc.Style, Bounds.left, Bounds.top,
        Bounds.right - Bounds.left, Bounds.bottom - Bounds.top, Parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(Desc.Id)), ::GetModuleHandleA(nullptr), nullptr);
    if (!Control)
        throw std::runtime_error(FormatText(Texts::ControlNotCreated, Desc.Class));
    if (Font)
        ::SendMessageA(Control, WM_SETFONT, reinterpret_cast<WPARAM>(Font), FALSE);
    return Control;
}

HWND CreateToolTips(HWND Owner)
{
    const HWND ToolTips = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                            WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0, 0, Owner, nullptr,
                                            ::GetModuleHandleA(nullptr), nullptr);
    if (!ToolTips)
        throw std::runtime_error(FormatText(Texts::ControlNotCreated, TOOLTIPS_CLASSA));
    return ToolTips;
}

void SetToolTip(HWND ToolTips, HWND Owner, HWND Control, const char* Text)
{
    TOOLINFOA Tool{};
    Tool.cbSize = sizeof Tool;
    Tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    Tool.hwnd = Owner;
    Tool.uId = reinterpret_cast<UINT_PTR>(Control);
    Tool.lpszText = const_cast<char*>(Text);
    ::SendMessageA(ToolTips, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&Tool));
    if (!::SendMessageA(ToolTips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&Tool)))
        throw std::runtime_error(Texts::ToolTipNotAdded);
}

TFont CreateFormFont(int Dpi, int Weight, bool Underline)
{
    return TFont(::CreateFontA(-::MulDiv(8, Dpi, 72), 0, 0, 0, Weight, FALSE, Underline, FALSE, ANSI_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                               "MS Sans Serif"));
}

std::string WindowText(HWND Window)
{
    std::string Text(static_cast<std::size_t>(::GetWindowTextLengthA(Window)) + 1, '\0');
    Text.resize(static_cast<std::size_t>(::GetWindowTextA(Window, Text.data(), static_cast<int>(Text.size()))));
    return Text;
}

int TextWidth(HWND Window, HFONT Font, std::string_view Text)
{
    const TFontDc Dc = GetFontDc(Window, Font);
    SIZE Size{};
    ::GetTextExtentPoint32A(Dc.Get().Dc, Text.data(), static_cast<int>(Text.size()), &Size);
    return static_cast<int>(Size.cx);
}

void CopyText(char* Buffer, int Size, const std::string& Text) { ::lstrcpynA(Buffer, Text.c_str(), Size); }

void CopyText(wchar_t* Buffer, int Size, const std::string& Text)
{
    std::wstring Wide(Text.size() + 1, L'\0'); // a character of the code page is at most one wide character
    Wide.resize(static_cast<std::size_t>(::MultiByteToWideChar(CP_ACP, 0, Text.data(), static_cast<int>(Text.size()),
                                                               Wide.data(), static_cast<int>(Wide.size()))));
    ::lstrcpynW(Buffer, Wide.c_str(), Size);
}

std::string AnsiText(const wchar_t* Text)
{
    const int Size = ::WideCharToMultiByte(CP_ACP, 0, Text, -1, nullptr, 0, nullptr, nullptr);
    std::string Result(static_cast<std::size_t>(std::max(Size, 1)), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, Text, -1, Result.data(), Size, nullptr, nullptr);
    Result.resize(Result.size() - 1);
    return Result;
}

} // namespace tol

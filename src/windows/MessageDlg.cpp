#include "MessageDlg.h"

#include "Application.h"
#include "Controls.h"
#include "Dpi.h"
#include "GdiOwners.h"
#include "GeneralHandler.h"
#include "Texts.h"

#include <windows.h>

#include <algorithm>

namespace tol {

namespace {

constexpr int Margin = 12, IconSize = 32, ButtonWidth = 75, ButtonHeight = 23;
constexpr int TextId = 0xFFFF; // the system's boxes give their text this id too

struct TMessageDlgParams {
    TMessageKind Kind;
    const std::string* Text;
    int Dpi; // the owner's: the box opens on its monitor
    TFont Font;
    TIcon Icon; // the system's picture at another scale than the system's
};

// The system's message font, at Dpi rather than the system's dots per inch.
TFont CreateMessageFont(int Dpi)
{
    NONCLIENTMETRICSA Metrics{};
    Metrics.cbSize = sizeof Metrics;
    if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof Metrics, &Metrics, 0))
        return TFont();
    Metrics.lfMessageFont.lfHeight = ::MulDiv(Metrics.lfMessageFont.lfHeight, Dpi, SystemDpi());
    return TFont(::CreateFontIndirectA(&Metrics.lfMessageFont));
}

SIZE MeasureText(HWND Window, HFONT Font, const std::string& Text, int MaxWidth)
{
    const TFontDc Dc = GetFontDc(Window, Font);
    RECT Bounds{0, 0, MaxWidth, 0};
    ::DrawTextA(Dc.Get().Dc, Text.c_str(), static_cast<int>(Text.size()), &Bounds,
                DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    return SIZE{Bounds.right, Bounds.bottom};
}

void LayOut(HWND Dialog, TMessageDlgParams& Params)
{
    const bool IsError = Params.Kind == TMessageKind::Error;
    ::SetWindowTextA(Dialog, IsError ? Texts::ErrorCaption : Texts::WarningCaption);
    const HFONT Font = Params.Font.Get();
    const int Gap = Scale(Margin, Params.Dpi), Icon = Scale(IconSize, Params.Dpi);
    const int OkWidth = Scale(ButtonWidth, Params.Dpi), OkHeight = Scale(ButtonHeight, Params.Dpi);

    const int ScreenWidth = ::GetSystemMetrics(SM_CXSCREEN), ScreenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    const SIZE TextSize = MeasureText(Dialog, Font, *Params.Text, ScreenWidth / 2);
    const int TextLeft = Gap + Icon + Gap;
    const int BodyHeight = std::max<int>(TextSize.cy, Icon);
    const int ClientWidth = std::max<int>(TextLeft + TextSize.cx + Gap, OkWidth + 2 * Gap);
    const int ClientHeight = Gap + BodyHeight + Gap + OkHeight + Gap;

    const HWND IconControl = CreateControl(Dialog, TControlDesc{"STATIC", nullptr, SS_ICON, 0, 0}, nullptr,
                                           RECT{Gap, Gap, Gap + Icon, Gap + Icon});
    // The system's own picture, or at another monitor's scale one of that size.
    const LPCSTR Picture = IsError ? IDI_HAND : IDI_EXCLAMATION;
    if (Params.Dpi != SystemDpi())
        Params.Icon = TIcon(static_cast<HICON>(::LoadImageA(nullptr, Picture, IMAGE_ICON, Icon, Icon, 0)));
    ::SendMessageA(IconControl, STM_SETICON,
                   reinterpret_cast<WPARAM>(Params.Icon ? Params.Icon.Get() : ::LoadIconA(nullptr, Picture)), 0);

    const int TextTop = Gap + (BodyHeight - TextSize.cy) / 2;
    CreateControl(Dialog, TControlDesc{"STATIC", Params.Text->c_str(), SS_LEFT | SS_NOPREFIX, 0, TextId}, Font,
                  RECT{TextLeft, TextTop, TextLeft + TextSize.cx, TextTop + TextSize.cy});
    const int OkLeft = (ClientWidth - OkWidth) / 2, OkTop = ClientHeight - Gap - OkHeight;
    const HWND Ok = CreateControl(Dialog,
                                  TControlDesc{"BUTTON", Texts::OkCaption, WS_TABSTOP | BS_DEFPUSHBUTTON, 0, IDOK},
                                  Font, RECT{OkLeft, OkTop, OkLeft + OkWidth, OkTop + OkHeight});

    RECT Frame{0, 0, ClientWidth, ClientHeight};
    ::AdjustWindowRectEx(&Frame, static_cast<DWORD>(::GetWindowLongA(Dialog, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongA(Dialog, GWL_EXSTYLE)));
    const int Width = Frame.right - Frame.left, Height = Frame.bottom - Frame.top;
    ::SetWindowPos(Dialog, nullptr, (ScreenWidth - Width) / 2, (ScreenHeight - Height) / 2, Width, Height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetFocus(Ok);
    ::MessageBeep(IsError ? MB_ICONHAND : MB_ICONEXCLAMATION);
}

INT_PTR CALLBACK MessageDlgProc(HWND Dialog, UINT Message, WPARAM WParam, LPARAM LParam)
{
    try {
        switch (Message) {
        case WM_INITDIALOG:
            LayOut(Dialog, *reinterpret_cast<TMessageDlgParams*>(LParam));
            return FALSE; // the focus is set
        case WM_COMMAND:
            // Enter answers OK (the default button), Escape and the close box IDCANCEL.
            if (LOWORD(WParam) == IDOK || LOWORD(WParam) == IDCANCEL) {
                ::EndDialog(Dialog, IDOK);
                return TRUE;
            }
            return FALSE;
        default: return FALSE;
        }
    } catch (...) {
        HandleException(std::current_exception());
        ::EndDialog(Dialog, IDOK);
        return TRUE;
    }
}

} // namespace

void ShowMessageDlg(TMessageKind Kind, const std::string& Text)
{
    // An empty template: the controls are made to fit the text when the box opens.
    struct alignas(4) {
        DLGTEMPLATE Template;
        WORD Menu, Class, Title;
    } Template{};
    Template.Template.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    Template.Template.dwExtendedStyle = WS_EX_DLGMODALFRAME;

    const int Dpi = DpiOf(Application.Handle);
    TMessageDlgParams Params{Kind, &Text, Dpi, CreateMessageFont(Dpi), TIcon()};
    ::DialogBoxIndirectParamA(::GetModuleHandleA(nullptr), &Template.Template, Application.Handle, MessageDlgProc,
                              reinterpret_cast<LPARAM>(&Params));
}

} // namespace tol

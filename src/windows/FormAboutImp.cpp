#include "FormAboutImp.h"

#include "Application.h"
#include "Controls.h"
#include "Dpi.h"
#include "Form.h"
#include "GdiOwners.h"
#include "Layout.h"
#include "Pictures.h"
#include "ResourceIds.h"
#include "ShellImp.h"
#include "Texts.h"
#include "Version.h"

#include <commctrl.h>

#include <algorithm>

namespace tol {

constexpr int ClientWidth = 266, ClientHeight = 153;
constexpr COLORREF LinkColor = RGB(0, 0, 255);

class TFormAbout final : public TForm {
public:
    TFormAbout();

    HWND Panel1 = nullptr, ImageIcon = nullptr, LabelName = nullptr, LabelCopyright = nullptr, Label1 = nullptr,
         LabelMailTo = nullptr, Image2 = nullptr, ButtonOK = nullptr;

private:
    void CreateControls();
    void ChangeDpi(int OldDpi, const RECT& Suggested) override;

    void FormCreate();
    void LabelMailToClick() { ShellOpen(FLabelMailToHint); }
    void Image2Click() { ShellOpen(FImage2Hint); }

    LRESULT HandleMessage(UINT Message, WPARAM WParam, LPARAM LParam) override;

    enum : int { IdLabelMailTo = 100, IdImage2 };

    TFont FFont, FFontBold, FFontLink;
    TIcon FIcon;
    TBitmap FBadge;
    HWND FToolTips = nullptr;
    std::string FLabelMailToHint, FImage2Hint = TOLVANE_WEB_URL;
};

TFormAbout::TFormAbout()
{
    // A fixed dialog frame around a client area of the given size, centred on the
    // screen, at its owner's scale: it opens on the owner's monitor.
    FDpi = DpiOf(Application.Handle);
    const DWORD Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD ExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT Frame{0, 0, Scale(ClientWidth, FDpi), Scale(ClientHeight, FDpi)};
    ::AdjustWindowRectEx(&Frame, Style, FALSE, ExStyle);
    const int Width = Frame.right - Frame.left, Height = Frame.bottom - Frame.top;
    CreateHandle("TFormAbout", Style, ExStyle, Texts::AboutTitle, (::GetSystemMetrics(SM_CXSCREEN) - Width) / 2,
                 (::GetSystemMetrics(SM_CYSCREEN) - Height) / 2, Width, Height, Application.Handle, nullptr);
    CreateControls();
    FormCreate();
}

void TFormAbout::CreateControls()
{
    FFont = CreateFormFont(FDpi);
    FFontBold = CreateFormFont(FDpi, FW_BOLD);
    FFontLink = CreateFormFont(FDpi, FW_NORMAL, true);
    // How a row's rectangle is fitted to what it shows; texts are measured in the row's font.
    enum class TFit {
        None,
        Text,      // as wide as its text
        AfterLine, // starts where the mail-to line's prefix ends, at least as wide as written
        Inside,    // one pixel inside its rectangle: the icon within the sunken frame
    };
    struct TRow {
        HWND TFormAbout::*Control;
        TControlDesc Desc;
        TRect96 Bounds;
        TFont TFormAbout::*Font;
        TFit Fit;
    };
    // Later siblings lie below earlier ones: the link is made first so that it covers
    // the tail of the line it belongs to.
    // clang-format off
    static constexpr TRow Rows[] = {
        {&TFormAbout::LabelMailTo, {"STATIC", Texts::MailToName, SS_LEFT | SS_NOTIFY | SS_NOPREFIX, 0, IdLabelMailTo},
         {56, 40, 84, 13}, &TFormAbout::FFontLink, TFit::AfterLine},
        {&TFormAbout::Label1, {"STATIC", Texts::MailToLine, SS_LEFT | SS_NOPREFIX | WS_CLIPSIBLINGS, 0, -1},
         {56, 40, 0, 13}, &TFormAbout::FFont, TFit::Text},
        {&TFormAbout::Panel1, {"STATIC", nullptr, SS_SUNKEN | WS_CLIPSIBLINGS, 0, -1},
         {8, 8, 41, 41}, &TFormAbout::FFont, TFit::None},
        {&TFormAbout::ImageIcon, {"STATIC", nullptr, SS_ICON | SS_CENTERIMAGE | WS_CLIPSIBLINGS, 0, -1},
         {8, 8, 41, 41}, &TFormAbout::FFont, TFit::Inside},
        {&TFormAbout::LabelName, {"STATIC", Texts::AppTitle, SS_LEFT | SS_NOPREFIX, 0, -1},
         {56, 8, 0, 13}, &TFormAbout::FFontBold, TFit::Text},
        {&TFormAbout::LabelCopyright, {"STATIC", TOLVANE_NOTICE, SS_LEFT | SS_NOPREFIX, 0, -1},
         {56, 24, ClientWidth - 8 - 56, 13}, &TFormAbout::FFont, TFit::None},
        {&TFormAbout::Image2, {"STATIC", nullptr, SS_BITMAP | SS_NOTIFY, 0, IdImage2},
         {80, 70, 110, 36}, &TFormAbout::FFont, TFit::None},
        {&TFormAbout::ButtonOK, {"BUTTON", Texts::OkCaption, WS_TABSTOP | BS_DEFPUSHBUTTON, 0, IDOK},
         {96, 120, 75, 25}, &TFormAbout::FFont, TFit::None},
    };
    // clang-format on
    for (const TRow& Row : Rows) {
        const HFONT Font = (this->*Row.Font).Get();
        RECT Bounds = Place(Row.Bounds, FDpi);
        switch (Row.Fit) {
        case TFit::None: break;
        case TFit::Text: Bounds.right = Bounds.left + TextWidth(Handle(), Font, Row.Desc.Text) + 2; break;
        case TFit::AfterLine:
            Bounds.left += TextWidth(Handle(), FFont.Get(), Texts::MailToPrefix);
            Bounds.right = Bounds.left
                           + std::max<int>(Bounds.right - Bounds.left, TextWidth(Handle(), Font, Row.Desc.Text));
            break;
        case TFit::Inside: ::InflateRect(&Bounds, -1, -1); break;
        }
        this->*Row.Control = CreateControl(Handle(), Row.Desc, Font, Bounds);
    }

    FIcon = LoadIconAtScale(IDI_TOL, 32, FDpi);
    ::SendMessageA(ImageIcon, STM_SETICON, reinterpret_cast<WPARAM>(FIcon.Get()), 0);
    // The sunken frame lies below the icon inside it and must not paint over it.
    ::SetWindowPos(ImageIcon, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    FBadge = LoadBadgeAtScale(FDpi);
    ::SendMessageA(Image2, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(FBadge.Get()));

    FToolTips = CreateToolTips(Handle());
    SetToolTip(FToolTips, Handle(), Image2, FImage2Hint.c_str());
}

void TFormAbout::FormCreate()
{
    FLabelMailToHint = GetMailToURL();
    SetToolTip(FToolTips, Handle(), LabelMailTo, FLabelMailToHint.c_str());
}

void TFormAbout::ChangeDpi(int OldDpi, const RECT& Suggested)
{
    // Nothing in the box is the player's: it is made again as it opens at the new scale.
    const bool OnOk = ::GetFocus() == ButtonOK;
    while (const HWND Child = ::GetWindow(Handle(), GW_CHILD))
        ::DestroyWindow(Child);
    ::DestroyWindow(FToolTips);
    CreateControls();
    FormCreate();
    TForm::ChangeDpi(OldDpi, Suggested);
    if (OnOk)
        ::SetFocus(ButtonOK);
}

LRESULT TFormAbout::HandleMessage(UINT Message, WPARAM WParam, LPARAM LParam)
{
    switch (Message) {
    case WM_COMMAND:
        switch (LOWORD(WParam)) {
        case IDOK: ModalResult = IDOK; return 0;
        case IdLabelMailTo:
            if (HIWORD(WParam) == STN_CLICKED)
                LabelMailToClick();
            return 0;
        case IdImage2:
            if (HIWORD(WParam) == STN_CLICKED)
                Image2Click();
            return 0;
        default: return 0; // Escape (IDCANCEL) is bound to nothing
        }
    case WM_SETCURSOR: {
        const HWND Over = reinterpret_cast<HWND>(WParam);
        if (Over == LabelMailTo || Over == Image2) {
            ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
            return TRUE;
        }
        break;
    }
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(LParam) == LabelMailTo) {
            const HDC Dc = reinterpret_cast<HDC>(WParam);
            ::SetTextColor(Dc, LinkColor);
            ::SetBkColor(Dc, ::GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
        }
        break;
    default: break;
    }
    return TForm::HandleMessage(Message, WParam, LParam);
}

void ShowAbout() { ShowModalForm<TFormAbout>(); }

} // namespace tol

#include "FormAboutImp.h"

#include "Application.h"
#include "Controls.h"
#include "Dpi.h"
#include "Form.h"
#include "GdiOwners.h"
#include "Pictures.h"
#include "ResourceIds.h"
#include "ShellImp.h"
#include "Texts.h"
#include "Version.h"

#include <commctrl.h>

namespace tol {

namespace {

constexpr int ClientWidth = 266, ClientHeight = 153;
constexpr COLORREF LinkColor = RGB(0, 0, 255);

} // namespace

class TFormAbout final : public TForm {
public:
    TFormAbout();

    HWND Panel1 = nullptr, ImageIcon = nullptr, LabelName = nullptr, LabelCopyright = nullptr, Label1 = nullptr,
         LabelMailTo = nullptr, Image2 = nullptr, ButtonOK = nullptr;

private:
    void CreateControls();

    void FormCreate();
    void LabelMailToClick();
    void Image2Click();

    LRESULT HandleMessage(UINT Message, WPARAM WParam, LPARAM LParam) override;

    enum : int { IdLabelMailTo = 100, IdImage2 };

    TFont FFont = CreateFormFont(), FFontBold = CreateFormFont(FW_BOLD), FFontLink = CreateFormFont(FW_NORMAL, true);
    TIcon FIcon;
    TBitmap FBadge;
    HWND FToolTips = nullptr;
    std::string FLabelMailToHint, FImage2Hint = TOLVANE_WEB_URL;
};

TFormAbout::TFormAbout()
{
    // A fixed dialog frame around a client area of the given size, centred on the screen.
    const DWORD Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD ExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT Frame{0, 0, Scale(ClientWidth), Scale(ClientHeight)};
    ::AdjustWindowRectEx(&Frame, Style, FALSE, ExStyle);
    const int Width = Frame.right - Frame.left, Height = Frame.bottom - Frame.top;
    CreateHandle("TFormAbout", Style, ExStyle, Texts::AboutTitle, (::GetSystemMetrics(SM_CXSCREEN) - Width) / 2,
                 (::GetSystemMetrics(SM_CYSCREEN) - Height) / 2, Width, Height, Application.Handle, nullptr);
    CreateControls();
    FormCreate();
}

void TFormAbout::CreateControls()
{
    const auto Create = [&](const char* Class, const char* Text, DWORD Style, RECT Bounds, HFONT Font, int Id = -1) {
        return CreateControl(Handle(), TControlDesc{Class, Text, Style, 0, Id}, Font, Bounds);
    };
    const auto Width = [&](HFONT Font, const std::string& Text) { return TextWidth(Handle(), Font, Text); };
    const int LineHeight = Scale(13);

    // Later siblings lie below earlier ones: the link is made first so that it covers
    // the tail of the line it belongs to.
    const std::string MailToLine = std::string(Texts::MailToPrefix) + Texts::MailToName;
    const int LinkLeft = Scale(56) + Width(FFont.Get(), Texts::MailToPrefix);
    LabelMailTo = Create("STATIC", Texts::MailToName, SS_LEFT | SS_NOTIFY | SS_NOPREFIX,
                         RECT{LinkLeft, Scale(40),
                              LinkLeft + std::max(Scale(84), Width(FFontLink.Get(), Texts::MailToName)),
                              Scale(40) + LineHeight},
                         FFontLink.Get(), IdLabelMailTo);
    Label1 = Create("STATIC", MailToLine.c_str(), SS_LEFT | SS_NOPREFIX | WS_CLIPSIBLINGS,
                    RECT{Scale(56), Scale(40), Scale(56) + Width(FFont.Get(), MailToLine) + 2, Scale(40) + LineHeight},
                    FFont.Get());
    // The sunken frame lies below the icon inside it and must not paint over it.
    Panel1 = Create("STATIC", nullptr, SS_SUNKEN | WS_CLIPSIBLINGS,
                    RECT{Scale(8), Scale(8), Scale(8 + 41), Scale(8 + 41)}, FFont.Get());
    FIcon = LoadIconAtScale(IDI_TOL, 32);
    ImageIcon = Create("STATIC", nullptr, SS_ICON | SS_CENTERIMAGE | WS_CLIPSIBLINGS,
                       RECT{Scale(8) + 1, Scale(8) + 1, Scale(8 + 41) - 1, Scale(8 + 41) - 1}, FFont.Get());
    ::SendMessageA(ImageIcon, STM_SETICON, reinterpret_cast<WPARAM>(FIcon.Get()), 0);
    ::SetWindowPos(ImageIcon, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    LabelName = Create(
        "STATIC", Texts::AppTitle, SS_LEFT | SS_NOPREFIX,
        RECT{Scale(56), Scale(8), Scale(56) + Width(FFontBold.Get(), Texts::AppTitle) + 2, Scale(8) + LineHeight},
        FFontBold.Get());
    LabelCopyright = Create("STATIC", TOLVANE_NOTICE, SS_LEFT | SS_NOPREFIX,
                            RECT{Scale(56), Scale(24), Scale(ClientWidth) - Scale(8), Scale(24) + LineHeight},
                            FFont.Get());

    FBadge = LoadBadgeAtScale();
    Image2 = Create("STATIC", nullptr, SS_BITMAP | SS_NOTIFY,
                    RECT{Scale(80), Scale(70), Scale(80 + 110), Scale(70 + 36)}, FFont.Get(), IdImage2);
    ::SendMessageA(Image2, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(FBadge.Get()));

    ButtonOK = Create("BUTTON", Texts::OkCaption, WS_TABSTOP | BS_DEFPUSHBUTTON,
                      RECT{Scale(96), Scale(120), Scale(96 + 75), Scale(120 + 25)}, FFont.Get(), IDOK);

    FToolTips = CreateToolTips(Handle());
    SetToolTip(FToolTips, Handle(), Image2, FImage2Hint.c_str());
}

void TFormAbout::FormCreate()
{
    FLabelMailToHint = GetMailToURL();
    SetToolTip(FToolTips, Handle(), LabelMailTo, FLabelMailToHint.c_str());
}

void TFormAbout::LabelMailToClick() { ShellOpen(FLabelMailToHint); }

void TFormAbout::Image2Click() { ShellOpen(FImage2Hint); }

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

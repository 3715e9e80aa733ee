#include "FormMainImp.h"

#include "Application.h"
#include "CleanUp.h"
#include "Dpi.h"
#include "FormAboutImp.h"
#include "GeneralHandler.h"
#include "Pictures.h"
#include "ResourceIds.h"
#include "Settings.h"
#include "Texts.h"

#include <commctrl.h>
#include <commdlg.h>

#include <array>
#include <vector>

namespace tol {

namespace {

// The four view styles, indexed by the tag of their toolbar button.
constexpr std::array<DWORD, 4> ViewStyles = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};

struct TViewStyleButton {
    int Id, Tag, Picture;
    const char* Hint; // tooltip | long hint
};
constexpr std::array<TViewStyleButton, 4> ViewStyleButtons = {{
    {TFormMain::IdToolButtonLargeIcons, 0, 0, "Large Icons | Displays items by using large icons."},
    {TFormMain::IdToolButtonSmallIcons, 1, 1, "Small Icons | Displays items by using small icons."},
    {TFormMain::IdToolButtonList, 2, 2, "List | Displays items in a list."},
    {TFormMain::IdToolButtonDetails, 3, 3, "Details | Displays information about each item."},
}};
constexpr int InitialViewStyleTag = 3;

struct TColumn {
    const char* Caption;
    int Width;
};
constexpr std::array<TColumn, 3> ZoneColumns = {{{"Zone Name", 170}, {"Internal Name", 100}, {"Status", 300}}};

constexpr char OffsetPresets[][8] = {"1669500", "1669008"};

// The text before the hint's "|", without the blanks around it.
std::string ShortHint(const char* Hint)
{
    std::string Text = Hint;
    Text = Text.substr(0, Text.find('|'));
    while (!Text.empty() && Text.back() == ' ')
        Text.pop_back();
    return Text;
}

std::string WindowText(HWND Window)
{
    std::string Text(static_cast<std::size_t>(::GetWindowTextLengthA(Window)) + 1, '\0');
    Text.resize(static_cast<std::size_t>(::GetWindowTextA(Window, Text.data(), static_cast<int>(Text.size()))));
    return Text;
}

// The width a label's text needs in its own font.
int TextWidth(HWND Label)
{
    const std::string Text = WindowText(Label);
    const HDC Dc = ::GetDC(Label);
    const HGDIOBJ Old = ::SelectObject(Dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(Label, WM_GETFONT, 0, 0)));
    SIZE Size{};
    ::GetTextExtentPoint32A(Dc, Text.c_str(), static_cast<int>(Text.size()), &Size);
    ::SelectObject(Dc, Old);
    ::ReleaseDC(Label, Dc);
    return static_cast<int>(Size.cx) + 1;
}

// The browse button keeps the focus where it was, as a speed button does.
LRESULT CALLBACK NoFocusButtonProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam, UINT_PTR, DWORD_PTR)
{
    if (Message == WM_SETFOCUS) {
        const HWND Previous = reinterpret_cast<HWND>(WParam);
        if (Previous && ::IsWindow(Previous))
            ::SetFocus(Previous);
        return 0;
    }
    return ::DefSubclassProc(Window, Message, WParam, LParam);
}

} // namespace

TFormMain::TFormMain()
{
    FFont = TFont(::CreateFontA(-::MulDiv(8, SystemDpi(), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                "MS Sans Serif"));
    CreateHandle("TFormMain", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, Texts::AppTitle,
                 CW_USEDEFAULT, CW_USEDEFAULT, Scale(423), Scale(314), nullptr,
                 ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_TOL)));
    Application.Handle = Handle();
    Application.MainForm = Handle();
    CreateControls();
    LayOutControls();
    Guarded([this] { FormCreate(); });
    // After the start-up: a tooltip's hold on the zone list would slow every row's
    // insertion tenfold (each message to the list passes through it).
    CreateToolTips();
}

TFormMain::~TFormMain()
{
    Guarded([this] { FormDestroy(); });
    if (Application.MainForm == Handle()) {
        Application.MainForm = nullptr;
        Application.Handle = nullptr;
    }
    DestroyHandle();
}

void TFormMain::CreateControls()
{
    const HINSTANCE Instance = ::GetModuleHandleA(nullptr);
    const auto Create = [&](DWORD ExStyle, const char* Class, const char* Text, DWORD Style, int Id) {
        const HWND Control = ::CreateWindowExA(ExStyle, Class, Text, WS_CHILD | WS_VISIBLE | Style, 0, 0, 0, 0, Handle(),
                                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(Id)), Instance, nullptr);
        ::SendMessageA(Control, WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Get()), FALSE);
        return Control;
    };

    ImageList16 = CreateImageListAtScale(16, {IDI_ZONE16});
    ImageList32 = CreateImageListAtScale(32, {IDI_ZONE32});
    ImageListViewStyles = CreateImageListAtScale(16, {IDI_LARGEICONS, IDI_SMALLICONS, IDI_LIST, IDI_DETAILS});
    FIconRun = LoadIconAtScale(IDI_RUN, 16);
    FIconAbout = LoadIconAtScale(IDI_ABOUT, 16);
    FIconBrowse = LoadIconAtScale(IDI_BROWSE, 16);

    // Created in the keyboard order: path, offset, zone list, Run, About.
    Label1 = Create(0, "STATIC", "Tutorial program:", SS_RIGHT | SS_ENDELLIPSIS, IdLabel1);
    EditTutorial = Create(WS_EX_CLIENTEDGE, "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, IdEditTutorial);
    SpeedButtonBrowseTutorial = Create(0, "BUTTON", "Browse...", BS_PUSHBUTTON | BS_ICON | BS_FLAT, IdBrowseTutorial);
    ::SendMessageA(SpeedButtonBrowseTutorial, BM_SETIMAGE, IMAGE_ICON,
                   reinterpret_cast<LPARAM>(FIconBrowse.Get()));
    ::SetWindowSubclass(SpeedButtonBrowseTutorial, NoFocusButtonProc, 1, 0);
    Label2 = Create(0, "STATIC", "Offset:", SS_RIGHT | SS_ENDELLIPSIS, IdLabel2);
    ComboBoxOffset = Create(0, "COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, IdComboBoxOffset);
    for (const char* Preset : OffsetPresets)
        ::SendMessageA(ComboBoxOffset, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Preset));
    ::SetWindowTextA(ComboBoxOffset, OffsetPresets[0]);

    ToolBarViewStyles = Create(0, TOOLBARCLASSNAMEA, nullptr,
                               TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER,
                               IdToolBarViewStyles);
    ::SendMessageA(ToolBarViewStyles, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SetToolBarImageList(ToolBarViewStyles, ImageListViewStyles.Get());
    std::array<TBBUTTON, ViewStyleButtons.size()> Buttons{};
    for (std::size_t I = 0; I < Buttons.size(); ++I) {
        Buttons[I].iBitmap = ViewStyleButtons[I].Picture;
        Buttons[I].idCommand = ViewStyleButtons[I].Id;
        Buttons[I].fsState = TBSTATE_ENABLED | (ViewStyleButtons[I].Tag == InitialViewStyleTag ? TBSTATE_CHECKED : 0);
        Buttons[I].fsStyle = BTNS_CHECKGROUP;
        Buttons[I].dwData = static_cast<DWORD_PTR>(ViewStyleButtons[I].Tag);
        Buttons[I].iString = -1;
    }
    ::SendMessageA(ToolBarViewStyles, TB_ADDBUTTONSA, Buttons.size(), reinterpret_cast<LPARAM>(Buttons.data()));
    FToolBarHeight = HIWORD(::SendMessageA(ToolBarViewStyles, TB_GETBUTTONSIZE, 0, 0));

    ListViewZones = Create(0, WC_LISTVIEWA, "",
                           WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS
                               | LVS_AUTOARRANGE,
                           IdListViewZones);
    ::SendMessageA(ListViewZones, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    ::SendMessageA(ListViewZones, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(ImageList16.Get()));
    ::SendMessageA(ListViewZones, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(ImageList32.Get()));
    for (std::size_t I = 0; I < ZoneColumns.size(); ++I) {
        LVCOLUMNA Column{};
        Column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        Column.pszText = const_cast<char*>(ZoneColumns[I].Caption);
        Column.cx = Scale(ZoneColumns[I].Width);
        Column.iSubItem = static_cast<int>(I);
        ::SendMessageA(ListViewZones, LVM_INSERTCOLUMNA, I, reinterpret_cast<LPARAM>(&Column));
    }

    BitBtnRun = Create(0, "BUTTON", "&Run", WS_TABSTOP | BS_PUSHBUTTON, IdBitBtnRun);
    ::SendMessageA(BitBtnRun, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(FIconRun.Get()));
    BitBtnAbout = Create(0, "BUTTON", "&About...", WS_TABSTOP | BS_PUSHBUTTON, IdBitBtnAbout);
    ::SendMessageA(BitBtnAbout, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(FIconAbout.Get()));
}

void TFormMain::CreateToolTips()
{
    const HINSTANCE Instance = ::GetModuleHandleA(nullptr);
    FToolTips = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0,
                                  0, 0, Handle(), nullptr, Instance, nullptr);
    const std::pair<HWND, const char*> Tips[] = {{EditTutorial, "Location of tutorial.exe"},
                                                 {SpeedButtonBrowseTutorial, "Browse..."},
                                                 {ListViewZones, "Select a zone to explore."}};
    for (const auto& [Control, Tip] : Tips) {
        TOOLINFOA Tool{};
        Tool.cbSize = sizeof Tool;
        Tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        Tool.hwnd = Handle();
        Tool.uId = reinterpret_cast<UINT_PTR>(Control);
        Tool.lpszText = const_cast<char*>(Tip);
        ::SendMessageA(FToolTips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&Tool));
    }
}

void TFormMain::LayOutControls()
{
    RECT Client;
    ::GetClientRect(Handle(), &Client);
    const int ButtonsLeft = Client.right - Scale(81); // the button panel along the right edge

    const auto Place = [](HWND Control, int X, int Y, int Width, int Height) {
        ::SetWindowPos(Control, nullptr, X, Y, Width, Height, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    // The top panel of the client area, 49 high. The labels are right-aligned to the
    // boxes they name and grow to the left when the font is wider than planned.
    const auto PlaceLabel = [&](HWND Label, int Left, int Top, int Width) {
        const int Right = Scale(Left + Width);
        const int Needed = std::min(std::max(Scale(Width), TextWidth(Label)), Right);
        Place(Label, Right - Needed, Scale(Top), Needed, Scale(13));
    };
    PlaceLabel(Label1, 8, 6, 79);
    Place(EditTutorial, Scale(94), Scale(4), Scale(211), Scale(21));
    Place(SpeedButtonBrowseTutorial, Scale(308), Scale(4), Scale(21), Scale(21));
    PlaceLabel(Label2, 56, 30, 31);
    Place(ComboBoxOffset, Scale(94), Scale(28), Scale(235), Scale(160));

    // The zones panel fills the rest, inside a 5-pixel border, with a 1-pixel frame.
    const RECT Zones{Scale(5) + 1, Scale(49) + Scale(5) + 1, ButtonsLeft - Scale(5) - 1, Client.bottom - Scale(5) - 1};
    Place(ToolBarViewStyles, Zones.left, Zones.top, Zones.right - Zones.left, FToolBarHeight);
    const int ListTop = Zones.top + FToolBarHeight + 2; // below the toolbar's edge line
    Place(ListViewZones, Zones.left, ListTop, Zones.right - Zones.left, std::max<int>(Zones.bottom - ListTop, 0));

    Place(BitBtnRun, ButtonsLeft + Scale(2), Scale(8), Scale(75), Scale(25));
    Place(BitBtnAbout, ButtonsLeft + Scale(2), Scale(40), Scale(75), Scale(25));
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

void TFormMain::PaintBorders()
{
    PAINTSTRUCT Paint;
    const HDC Dc = ::BeginPaint(Handle(), &Paint);
    RECT Client;
    ::GetClientRect(Handle(), &Client);
    RECT Zones{Scale(5), Scale(49) + Scale(5), Client.right - Scale(81) - Scale(5), Client.bottom - Scale(5)};
    ::FrameRect(Dc, &Zones, ::GetSysColorBrush(COLOR_BTNSHADOW));
    RECT Edge{Zones.left + 1, Zones.top + 1 + FToolBarHeight, Zones.right - 1, Zones.top + 1 + FToolBarHeight + 2};
    ::DrawEdge(Dc, &Edge, EDGE_ETCHED, BF_BOTTOM);
    ::EndPaint(Handle(), &Paint);
}

void TFormMain::FocusFirstControl()
{
    ::SetFocus(EditTutorial);
}

void TFormMain::AddZoneRow(const TZone& Zone)
{
    LVITEMA Item{};
    Item.mask = LVIF_TEXT | LVIF_IMAGE;
    Item.iItem = static_cast<int>(::SendMessageA(ListViewZones, LVM_GETITEMCOUNT, 0, 0));
    Item.pszText = const_cast<char*>(Zone.Name.c_str());
    Item.iImage = 0;
    const int Row = static_cast<int>(::SendMessageA(ListViewZones, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&Item)));
    if (Row < 0)
        throw std::runtime_error("Cannot add zone " + Zone.Name);
    const std::string* SubItems[] = {&Zone.InternalName, &Zone.Status};
    for (int Sub = 1; Sub <= 2; ++Sub) {
        LVITEMA Text{};
        Text.iSubItem = Sub;
        Text.pszText = const_cast<char*>(SubItems[Sub - 1]->c_str());
        ::SendMessageA(ListViewZones, LVM_SETITEMTEXTA, static_cast<WPARAM>(Row), reinterpret_cast<LPARAM>(&Text));
    }
}

void TFormMain::FormCreate()
{
    ::SetWindowPos(Handle(), nullptr, 0, 0, Scale(423), Scale(314), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!InitIniFileName()) {
        Application.Terminate(ExitCodeNoSettings);
        return;
    }
    ::SetWindowTextA(EditTutorial, GetTutorialFileName().c_str());
    DeleteTutorialTempFiles(GetTutorialText());
    DeleteTempPathTempFiles(GetTutorialText());
    ::SetWindowTextA(ComboBoxOffset, std::to_string(GetOffset()).c_str());

    ::SendMessageA(ListViewZones, WM_SETREDRAW, FALSE, 0);
    try {
        LoadZones([this](const TZone& Zone) { AddZoneRow(Zone); });
    } catch (...) {
        ::SendMessageA(ListViewZones, WM_SETREDRAW, TRUE, 0);
        throw;
    }
    ::SendMessageA(ListViewZones, WM_SETREDRAW, TRUE, 0);

    if (::SendMessageA(ListViewZones, LVM_GETITEMCOUNT, 0, 0) > 0) {
        LVITEMA State{};
        State.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        State.state = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessageA(ListViewZones, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&State));
    }
}

void TFormMain::FormDestroy()
{
    DeleteTempPathTempFiles(GetTutorialText());
    ReleaseIniFile();
}

void TFormMain::SpeedButtonBrowseTutorialClick()
{
    std::vector<char> FileName(MAX_PATH + 1, '\0');
    FOpenDialogFileName.copy(FileName.data(), FileName.size() - 1);
    OPENFILENAMEA Dialog{};
    Dialog.lStructSize = sizeof Dialog;
    Dialog.hwndOwner = Application.Handle;
    Dialog.lpstrFilter = "Program Files (*.exe)\0*.exe\0All Files (*.*)\0*.*\0";
    Dialog.nFilterIndex = 1;
    Dialog.lpstrFile = FileName.data();
    Dialog.nMaxFile = static_cast<DWORD>(FileName.size());
    Dialog.lpstrTitle = "Select tutorial.exe...";
    Dialog.lpstrDefExt = "exe";
    Dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
    if (!::GetOpenFileNameA(&Dialog))
        return;
    FOpenDialogFileName = FileName.data();
    ::SetWindowTextA(EditTutorial, FOpenDialogFileName.c_str());
}

void TFormMain::BitBtnRunClick()
{
    RunZone(*this);
}

void TFormMain::BitBtnAboutClick()
{
    ShowAbout();
}

void TFormMain::ToolButtonViewStyleClick(int Tag)
{
    if (Tag < 0 || static_cast<std::size_t>(Tag) >= ViewStyles.size())
        return;
    const LONG Style = ::GetWindowLongA(ListViewZones, GWL_STYLE);
    ::SetWindowLongA(ListViewZones, GWL_STYLE, static_cast<LONG>((Style & ~LVS_TYPEMASK) | ViewStyles[Tag]));
    ::SendMessageA(ListViewZones, LVM_ARRANGE, LVA_DEFAULT, 0);
}

LRESULT TFormMain::HandleNotify(NMHDR& Header)
{
    // The view-style buttons' tooltips: the hint's text before its "|".
    if (Header.code == TTN_GETDISPINFOA || Header.code == TTN_GETDISPINFOW) {
        for (const auto& Button : ViewStyleButtons) {
            if (Header.idFrom != static_cast<UINT_PTR>(Button.Id))
                continue;
            // The tooltip reads the text after this returns: the window keeps it.
            FToolTipText = ShortHint(Button.Hint);
            if (Header.code == TTN_GETDISPINFOA) {
                reinterpret_cast<NMTTDISPINFOA&>(Header).lpszText = FToolTipText.data();
            } else {
                auto& Info = reinterpret_cast<NMTTDISPINFOW&>(Header);
                ::MultiByteToWideChar(CP_ACP, 0, FToolTipText.c_str(), -1, Info.szText, static_cast<int>(std::size(Info.szText)));
                Info.lpszText = Info.szText;
            }
        }
    }
    return 0;
}

LRESULT TFormMain::HandleMessage(UINT Message, WPARAM WParam, LPARAM LParam)
{
    switch (Message) {
    case WM_COMMAND: {
        const int Id = LOWORD(WParam);
        if (HIWORD(WParam) != BN_CLICKED)
            break;
        switch (Id) {
        case IdBrowseTutorial: SpeedButtonBrowseTutorialClick(); return 0;
        case IdBitBtnRun: BitBtnRunClick(); return 0;
        case IdBitBtnAbout: BitBtnAboutClick(); return 0;
        default:
            for (const auto& Button : ViewStyleButtons)
                if (Button.Id == Id)
                    ToolButtonViewStyleClick(Button.Tag);
            return 0; // IDOK and IDCANCEL (Enter, Escape) start nothing
        }
    }
    case WM_NOTIFY:
        return HandleNotify(*reinterpret_cast<NMHDR*>(LParam));
    case WM_SIZE:
        LayOutControls();
        return 0;
    case WM_PAINT:
        PaintBorders();
        return 0;
    default:
        break;
    }
    return TForm::HandleMessage(Message, WParam, LParam);
}

std::string TFormMain::GetTutorialText() const { return WindowText(EditTutorial); }

std::string TFormMain::GetOffsetText() const { return WindowText(ComboBoxOffset); }

std::optional<std::string> TFormMain::GetSelectedInternalName() const
{
    const auto Row = ::SendMessageA(ListViewZones, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
    if (Row < 0)
        return std::nullopt;
    std::vector<char> Buffer(256);
    for (;;) {
        LVITEMA Item{};
        Item.iSubItem = 1;
        Item.pszText = Buffer.data();
        Item.cchTextMax = static_cast<int>(Buffer.size());
        const auto Length = ::SendMessageA(ListViewZones, LVM_GETITEMTEXTA, static_cast<WPARAM>(Row),
                                           reinterpret_cast<LPARAM>(&Item));
        if (static_cast<std::size_t>(Length) + 1 < Buffer.size())
            return std::string(Buffer.data(), static_cast<std::size_t>(Length));
        Buffer.resize(Buffer.size() * 2);
    }
}

void TFormMain::FocusTutorial() { ::SetFocus(EditTutorial); }

void TFormMain::FocusOffset() { ::SetFocus(ComboBoxOffset); }

void TFormMain::FocusZones() { ::SetFocus(ListViewZones); }

void TFormMain::Close() { TForm::Close(); }

} // namespace tol

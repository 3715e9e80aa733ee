#include "FormMainImp.h"
#include "FormMainTable.h"

#include "Controls.h"
#include "Dpi.h"
#include "Layout.h"
#include "Pictures.h"
#include "ResourceIds.h"
#include "Settings.h"
#include "Texts.h"
#include "ZoneList.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string_view>

namespace tol {

using namespace FormMainTable;

namespace {

RECT PlaceRow(const TControlRow& Row, const RECT& Client, int Dpi)
{
    const TPanelRow& Panel = Panels[Row.Panel];
    return Place(Row.Bounds, Row.Anchors, Place(Panel.Bounds, Panel.Anchors, Client, Panels[InClient].Bounds, Dpi),
                 Panel.Bounds, Dpi);
}

// The text before the hint's "|", without the blanks around it.
std::string ShortHint(std::string_view Hint)
{
    Hint = Hint.substr(0, Hint.find('|'));
    return std::string(Hint.substr(0, Hint.find_last_not_of(' ') + 1));
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

TFormMainView::TFormMainView()
{
    CreateHandle("TFormMain", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, Texts::AppTitle,
                 CW_USEDEFAULT, CW_USEDEFAULT, Scale(FormWidth, FDpi), Scale(FormHeight, FDpi), nullptr,
                 ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_TOL)));
    // The system's scale is the primary monitor's; the window may have opened on another.
    if (const int Monitor = MonitorDpi(Handle()); Monitor != FDpi) {
        SetDpi(Monitor);
        ::SetWindowPos(Handle(), nullptr, 0, 0, Scale(FormWidth, FDpi), Scale(FormHeight, FDpi),
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    FFont = CreateFormFont(FDpi);
    CreateControls();
    LayOutControls();
}

TFormMainView::~TFormMainView()
{
    // The window goes while the image lists it shows still exist.
    DestroyHandle();
}

void TFormMainView::CreateControls()
{
    for (const auto& Row : ControlRows)
        if (Row.Control)
            this->*Row.Control = CreateControl(Handle(), Row.Desc, FFont.Get());

    ::SetWindowSubclass(SpeedButtonBrowseTutorial, NoFocusButtonProc, 1, 0);
    for (const char* Preset : OffsetPresets)
        ::SendMessageA(ComboBoxOffset, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Preset));
    ::SetWindowTextA(ComboBoxOffset, DefaultOffset);

    ::SendMessageA(ToolBarViewStyles, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ShowPictures(); // the toolbar's picture size is set before its buttons come
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

    ::SendMessageA(ListViewZones, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    for (std::size_t I = 0; I < ZoneColumns.size(); ++I) {
        LVCOLUMNA Column{};
        Column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        Column.pszText = const_cast<char*>(ZoneColumns[I].Caption);
        Column.cx = Scale(ZoneColumns[I].Width, FDpi);
        Column.iSubItem = static_cast<int>(I);
        ::SendMessageA(ListViewZones, LVM_INSERTCOLUMNA, I, reinterpret_cast<LPARAM>(&Column));
    }

    FToolTips = CreateToolTips(Handle());
    for (const auto& Row : ControlRows)
        if (Row.Hint)
            SetToolTip(FToolTips, Handle(), this->*Row.Control, Row.Hint);
}

void TFormMainView::ShowPictures()
{
    // Made before the old ones go: a control never shows a picture already destroyed.
    TImageList Zones16 = CreateImageListAtScale(16, {IDI_ZONE16}, FDpi);
    TImageList Zones32 = CreateImageListAtScale(32, {IDI_ZONE32}, FDpi);
    TImageList ViewStyleList = CreateImageListAtScale(16, {IDI_LARGEICONS, IDI_SMALLICONS, IDI_LIST, IDI_DETAILS},
                                                      FDpi);
    TIcon Run = LoadIconAtScale(IDI_RUN, 16, FDpi), About = LoadIconAtScale(IDI_ABOUT, 16, FDpi),
          Browse = LoadIconAtScale(IDI_BROWSE, 16, FDpi);

    SetToolBarImageList(ToolBarViewStyles, ViewStyleList.Get(), FDpi);
    ::SendMessageA(ListViewZones, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(Zones16.Get()));
    ::SendMessageA(ListViewZones, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(Zones32.Get()));
    ::SendMessageA(BitBtnRun, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(Run.Get()));
    ::SendMessageA(BitBtnAbout, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(About.Get()));
    ::SendMessageA(SpeedButtonBrowseTutorial, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(Browse.Get()));

    ImageList16 = std::move(Zones16);
    ImageList32 = std::move(Zones32);
    ImageListViewStyles = std::move(ViewStyleList);
    FIconRun = std::move(Run);
    FIconAbout = std::move(About);
    FIconBrowse = std::move(Browse);
}

void TFormMainView::ChangeDpi(int OldDpi, const RECT& Suggested)
{
    // The controls stay, with what the player typed, chose and scrolled to; their font,
    // pictures and column widths are made again at the new scale.
    const auto TopRow = ::SendMessageA(ListViewZones, LVM_GETTOPINDEX, 0, 0);
    TFont Font = CreateFormFont(FDpi);
    for (const auto& Row : ControlRows)
        if (Row.Control)
            ::SendMessageA(this->*Row.Control, WM_SETFONT, reinterpret_cast<WPARAM>(Font.Get()), FALSE);
    FFont = std::move(Font);
    ShowPictures();
    for (int Column = 0; Column < static_cast<int>(ZoneColumns.size()); ++Column) {
        const auto Width = static_cast<int>(::SendMessageA(ListViewZones, LVM_GETCOLUMNWIDTH, Column, 0));
        ::SendMessageA(ListViewZones, LVM_SETCOLUMNWIDTH, Column, MAKELPARAM(::MulDiv(Width, FDpi, OldDpi), 0));
    }
    TForm::ChangeDpi(OldDpi, Suggested);
    LayOutControls(); // also when the window kept its size
    if (const auto Now = ::SendMessageA(ListViewZones, LVM_GETTOPINDEX, 0, 0); Now != TopRow) {
        RECT Row{LVIR_BOUNDS, 0, 0, 0};
        ::SendMessageA(ListViewZones, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&Row));
        ::SendMessageA(ListViewZones, LVM_SCROLL, 0, (TopRow - Now) * (Row.bottom - Row.top));
    }
    // The new fonts took no redraw of their own: everything is drawn once, at the end.
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void TFormMainView::LayOutControls()
{
    RECT Client;
    ::GetClientRect(Handle(), &Client);
    RECT Inside{}; // the zones frame's inside, less what is placed along its top
    for (const auto& Row : ControlRows) {
        RECT Bounds = PlaceRow(Row, Client, FDpi);
        switch (Row.Placing) {
        case TPlacing::Bounds: break;
        case TPlacing::Label: {
            // Labels grow to the left when the font is wider than planned.
            const int Needed = TextWidth(this->*Row.Control, FFont.Get(), WindowText(this->*Row.Control)) + 1;
            Bounds.left = Bounds.right - std::min<int>(std::max<int>(Bounds.right - Bounds.left, Needed), Bounds.right);
            break;
        }
        case TPlacing::ZonesFrame:
            FZonesFrame = Bounds;
            Inside = RECT{Bounds.left + 1, Bounds.top + 1, Bounds.right - 1, Bounds.bottom - 1};
            continue;
        case TPlacing::FrameTop:
            Bounds = RECT{Inside.left, Inside.top, Inside.right, Inside.top + ToolBarHeight()};
            Inside.top = Bounds.bottom + 2; // below the etched line
            break;
        case TPlacing::FrameRest:
            Bounds = RECT{Inside.left, Inside.top, Inside.right, std::max(Inside.bottom, Inside.top)};
            break;
        }
        ::SetWindowPos(this->*Row.Control, nullptr, Bounds.left, Bounds.top, Bounds.right - Bounds.left,
                       Bounds.bottom - Bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

int TFormMainView::ToolBarHeight() const { return HIWORD(::SendMessageA(ToolBarViewStyles, TB_GETBUTTONSIZE, 0, 0)); }

void TFormMainView::PaintBorders()
{
    PAINTSTRUCT Paint;
    const HDC Dc = ::BeginPaint(Handle(), &Paint);
    const RECT& Frame = FZonesFrame;
    ::FrameRect(Dc, &Frame, ::GetSysColorBrush(COLOR_BTNSHADOW));
    const int BarBottom = Frame.top + 1 + ToolBarHeight();
    RECT Edge{Frame.left + 1, BarBottom, Frame.right - 1, BarBottom + 2};
    ::DrawEdge(Dc, &Edge, EDGE_ETCHED, BF_BOTTOM);
    ::EndPaint(Handle(), &Paint);
}

void TFormMainView::ShowZones()
{
    // An owner-data list: the rows are drawn from Zones as they come into view, so a
    // long catalogue costs the start-up nothing here.
    if (!::SendMessageA(ListViewZones, LVM_SETITEMCOUNT, Zones.size(), 0))
        throw std::runtime_error(Texts::ZonesNotListed);
    if (!Zones.empty()) {
        LVITEMA State{};
        State.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        State.state = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessageA(ListViewZones, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&State));
    }
}

void TFormMainView::ToolButtonViewStyleClick(int Tag)
{
    const LONG Style = ::GetWindowLongA(ListViewZones, GWL_STYLE);
    ::SetWindowLongA(ListViewZones, GWL_STYLE,
                     static_cast<LONG>((Style & ~LVS_TYPEMASK) | ViewStyles.at(static_cast<std::size_t>(Tag))));
    ::SendMessageA(ListViewZones, LVM_ARRANGE, LVA_DEFAULT, 0);
    // Wine's list redraws only where the new view has rows: the old view's pictures
    // would stay in the rest.
    ::InvalidateRect(ListViewZones, nullptr, TRUE);
}

LRESULT TFormMainView::HandleNotify(NMHDR& Header)
{
    if (Header.hwndFrom == ListViewZones)
        return ListViewZonesNotify(Header);
    // The view-style buttons' tooltips: the hint's text before its "|", in the
    // notification's own buffer and character set.
    const auto ShowTip = [&Header](auto& Info) {
        for (const auto& Button : ViewStyleButtons) {
            if (Header.idFrom == static_cast<UINT_PTR>(Button.Id)) {
                CopyText(Info.szText, static_cast<int>(std::size(Info.szText)), ShortHint(Button.Hint));
                Info.lpszText = Info.szText;
            }
        }
    };
    if (Header.code == TTN_GETDISPINFOA)
        ShowTip(reinterpret_cast<NMTTDISPINFOA&>(Header));
    else if (Header.code == TTN_GETDISPINFOW)
        ShowTip(reinterpret_cast<NMTTDISPINFOW&>(Header));
    return 0;
}

LRESULT TFormMainView::HandleMessage(UINT Message, WPARAM WParam, LPARAM LParam)
{
    switch (Message) {
    case WM_COMMAND:
        if (HIWORD(WParam) != BN_CLICKED)
            break;
        for (const auto& Button : ViewStyleButtons)
            if (Button.Id == LOWORD(WParam))
                ToolButtonViewStyleClick(Button.Tag);
        return 0; // IDOK and IDCANCEL (Enter, Escape) start nothing
    case WM_NOTIFY: return HandleNotify(*reinterpret_cast<NMHDR*>(LParam));
    case WM_SIZE: LayOutControls(); return 0;
    case WM_PAINT: PaintBorders(); return 0;
    default: break;
    }
    return TForm::HandleMessage(Message, WParam, LParam);
}

} // namespace tol

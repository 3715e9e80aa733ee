// The main window's controls, one row each in the keyboard order, with their places
// at 96 DPI in the panels of the client area; the view styles and the zone columns.
// For FormMainView.cpp alone.
#pragma once

#include "Controls.h"
#include "FormMainImp.h"
#include "Layout.h"
#include "Settings.h"
#include "Texts.h"

#include <commctrl.h>

#include <array>

namespace tol::FormMainTable {

// The window's size at the start, at 96 DPI.
inline constexpr int FormWidth = 423, FormHeight = 314;

// The four view styles, indexed by the tag of their toolbar button.
inline constexpr std::array<DWORD, 4> ViewStyles = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
inline constexpr int InitialViewStyleTag = 3;

struct TViewStyleButton {
    int Id, Tag, Picture;
    const char* Hint; // tooltip | long hint
};
inline constexpr std::array<TViewStyleButton, 4> ViewStyleButtons = {{
    {TFormMainView::IdToolButtonLargeIcons, 0, 0, Texts::LargeIconsHint},
    {TFormMainView::IdToolButtonSmallIcons, 1, 1, Texts::SmallIconsHint},
    {TFormMainView::IdToolButtonList, 2, 2, Texts::ListHint},
    {TFormMainView::IdToolButtonDetails, 3, 3, Texts::DetailsHint},
}};

struct TColumn {
    const char* Caption;
    int Width;
};
inline constexpr std::array<TColumn, 3> ZoneColumns = {
    {{Texts::ZoneNameColumn, 170}, {Texts::InternalNameColumn, 100}, {Texts::StatusColumn, 300}}};

inline constexpr const char* OffsetPresets[] = {DefaultOffset, SecondOffset};

// The client area's panels: the whole of it, the zones below the path and offset, and
// the buttons along the right edge. Each lies in the client area as drawn at its
// start size, at 96 DPI.
enum TPanel : std::size_t { InClient, InZones, InButtons };
struct TPanelRow {
    TRect96 Bounds;
    unsigned Anchors;
};
inline constexpr std::array<TPanelRow, 3> Panels = {{
    {{0, 0, 415, 287}, AnchorAll},
    {{0, 49, 334, 238}, AnchorAll},
    {{334, 0, 81, 287}, AnchorTop | AnchorRight | AnchorBottom},
}};

enum class TPlacing {
    Bounds,     // at its rectangle
    Label,      // right-aligned to its rectangle, growing to the left when its text needs more room
    ZonesFrame, // the frame painted around the view-style bar and the zone list
    FrameTop,   // inside the frame along its top, as high as the bar's buttons
    FrameRest,  // inside the frame below the bar and the etched line under it
};

struct TControlRow {
    HWND TFormMainView::*Control; // none for the frame, which is painted
    TControlDesc Desc;
    TPanel Panel;
    TRect96 Bounds; // at 96 DPI in its panel; none for the rows inside the frame
    unsigned Anchors;
    TPlacing Placing;
    const char* Hint; // the control's tooltip, if any
};

// clang-format off
inline constexpr DWORD ToolBarStyle = TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
inline constexpr DWORD ListStyle = WS_TABSTOP | LVS_OWNERDATA | ViewStyles[InitialViewStyleTag] | LVS_SINGLESEL
                            | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | LVS_AUTOARRANGE;
inline constexpr std::array<TControlRow, 10> ControlRows = {{
    {&TFormMainView::Label1,
     {"STATIC", Texts::TutorialLabel, SS_RIGHT | SS_ENDELLIPSIS, 0, TFormMainView::IdLabel1},
     InClient, {8, 6, 79, 13}, AnchorTopLeft, TPlacing::Label, nullptr},
    {&TFormMainView::EditTutorial,
     {"EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, TFormMainView::IdEditTutorial},
     InClient, {94, 4, 211, 21}, AnchorTopLeft, TPlacing::Bounds, Texts::TutorialHint},
    {&TFormMainView::SpeedButtonBrowseTutorial,
     {"BUTTON", Texts::BrowseCaption, BS_PUSHBUTTON | BS_ICON | BS_FLAT, 0, TFormMainView::IdBrowseTutorial},
     InClient, {308, 4, 21, 21}, AnchorTopLeft, TPlacing::Bounds, Texts::BrowseCaption},
    {&TFormMainView::Label2,
     {"STATIC", Texts::OffsetLabel, SS_RIGHT | SS_ENDELLIPSIS, 0, TFormMainView::IdLabel2},
     InClient, {56, 30, 31, 13}, AnchorTopLeft, TPlacing::Label, nullptr},
    {&TFormMainView::ComboBoxOffset,
     {"COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, TFormMainView::IdComboBoxOffset},
     InClient, {94, 28, 235, 160}, AnchorTopLeft, TPlacing::Bounds, nullptr},
    {nullptr,
     {},
     InZones, {5, 5, 324, 228}, AnchorAll, TPlacing::ZonesFrame, nullptr},
    {&TFormMainView::ToolBarViewStyles,
     {TOOLBARCLASSNAMEA, nullptr, ToolBarStyle, 0, TFormMainView::IdToolBarViewStyles},
     InZones, {}, AnchorLeft | AnchorTop | AnchorRight, TPlacing::FrameTop, nullptr},
    {&TFormMainView::ListViewZones,
     {WC_LISTVIEWA, "", ListStyle, 0, TFormMainView::IdListViewZones},
     InZones, {}, AnchorAll, TPlacing::FrameRest, Texts::ZonesHint},
    {&TFormMainView::BitBtnRun,
     {"BUTTON", Texts::RunCaption, WS_TABSTOP | BS_PUSHBUTTON, 0, TFormMainView::IdBitBtnRun},
     InButtons, {2, 8, 75, 25}, AnchorTopLeft, TPlacing::Bounds, nullptr},
    {&TFormMainView::BitBtnAbout,
     {"BUTTON", Texts::AboutCaption, WS_TABSTOP | BS_PUSHBUTTON, 0, TFormMainView::IdBitBtnAbout},
     InButtons, {2, 40, 75, 25}, AnchorTopLeft, TPlacing::Bounds, nullptr},
}};
// clang-format on

} // namespace tol::FormMainTable

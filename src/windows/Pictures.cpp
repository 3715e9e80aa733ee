#include "Pictures.h"

#include "Dpi.h"
#include "ResourceIds.h"
#include "Texts.h"

#include <commctrl.h>

#include <array>
#include <cstdlib>
#include <stdexcept>

namespace tol {

namespace {

// The margin a toolbar button leaves around its picture at 96 dots per inch: the
// toolbar's own default.
constexpr int ToolButtonMarginX = 7, ToolButtonMarginY = 6;

struct TBadgeStep {
    int Dpi, Id;
};
constexpr std::array<TBadgeStep, 3> BadgeSteps = {{{96, IDB_BADGE_96}, {144, IDB_BADGE_144}, {192, IDB_BADGE_192}}};
constexpr int BadgeWidth = 110, BadgeHeight = 36;

} // namespace

TIcon LoadIconAtScale(int Id, int Size96, int Dpi)
{
    const int Size = Scale(Size96, Dpi);
    return TIcon(
        static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(Id), IMAGE_ICON, Size, Size, 0)));
}

TImageList CreateImageListAtScale(int Size96, std::initializer_list<int> IconIds, int Dpi)
{
    const int Size = Scale(Size96, Dpi);
    TImageList List(::ImageList_Create(Size, Size, ILC_COLOR32 | ILC_MASK, static_cast<int>(IconIds.size()), 0));
    if (!List)
        throw std::runtime_error(Texts::ImageListNotCreated);
    for (int Id : IconIds) {
        const TIcon Icon = LoadIconAtScale(Id, Size96, Dpi);
        if (::ImageList_AddIcon(List.Get(), Icon.Get()) < 0)
            throw std::runtime_error(Texts::ImageListNotCreated);
    }
    return List;
}

void SetToolBarImageList(HWND ToolBar, HIMAGELIST List, int Dpi)
{
    int Width = 0, Height = 0;
    ::ImageList_GetIconSize(List, &Width, &Height);
    ::SendMessageA(ToolBar, TB_SETBITMAPSIZE, 0, MAKELPARAM(Width, Height));
    ::SendMessageA(ToolBar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(List));
    ::SendMessageA(ToolBar, TB_SETBUTTONSIZE, 0,
                   MAKELPARAM(Width + Scale(ToolButtonMarginX, Dpi), Height + Scale(ToolButtonMarginY, Dpi)));
}

TBitmap LoadBadgeAtScale(int Dpi)
{
    // Nearest by dots per inch; between two steps the larger, shrunk rather than grown.
    const TBadgeStep* Nearest = &BadgeSteps.front();
    for (const TBadgeStep& Step : BadgeSteps)
        if (std::abs(Step.Dpi - Dpi) <= std::abs(Nearest->Dpi - Dpi))
            Nearest = &Step;
    return TBitmap(
        static_cast<HBITMAP>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(Nearest->Id), IMAGE_BITMAP,
                                          Scale(BadgeWidth, Dpi), Scale(BadgeHeight, Dpi), 0)));
}

} // namespace tol

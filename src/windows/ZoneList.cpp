#include "ZoneList.h"

#include "Controls.h"
#include "Settings.h"

#include <commctrl.h>

#include <string>

namespace tol {

namespace {

// Windows' LVFI_SUBSTRING (from Vista on, the same as LVFI_PARTIAL), which mingw-w64's
// headers lack.
constexpr UINT LvfiSubstring = 0x0004;

bool SameText(const char* A, std::size_t ALength, const std::string& B)
{
    return ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, A, static_cast<int>(ALength), B.data(),
                            static_cast<int>(B.size()))
           == CSTR_EQUAL;
}

// A row's picture and the text of one of its columns, asked for in the list's own
// character set (an ANSI parent is asked in ANSI, also for a request from outside).
template <typename TDispInfo>
void ListViewZonesGetDispInfo(TDispInfo& Info)
{
    auto& Item = Info.item;
    if (Item.mask & LVIF_IMAGE)
        Item.iImage = 0;
    if (!(Item.mask & LVIF_TEXT) || !Item.pszText || Item.cchTextMax <= 0)
        return;
    if (const TZone* Zone = ZoneAt(Item.iItem))
        CopyText(Item.pszText, Item.cchTextMax,
                 Item.iSubItem == 1   ? Zone->InternalName
                 : Item.iSubItem == 2 ? Zone->Status
                                      : Zone->Name);
    else
        Item.pszText[0] = 0;
}

// Type-ahead: the first zone from Start on, round the list, whose name begins with (or,
// for a whole-name search, is) Text, in any letter case.
int ListViewZonesFindItem(const std::string& Text, UINT Flags, int Start)
{
    // Windows' list asks without LVFI_WRAP, and from one past the last row when the
    // last row has the focus; Wine asks with it from a row inside. Either way a
    // player's typing goes round the list from the next row on.
    const int Count = static_cast<int>(Zones.size());
    if (!(Flags & (LVFI_STRING | LVFI_PARTIAL | LvfiSubstring | LVFI_WRAP)) || Count == 0)
        return -1;
    if (Start < 0 || Start >= Count)
        Start = 0;
    for (int Step = 0; Step < Count; ++Step) {
        const int Row = (Start + Step) % Count;
        const std::string& Name = Zones[static_cast<std::size_t>(Row)].Name;
        const bool Found = Flags & (LVFI_PARTIAL | LvfiSubstring)
                               ? Name.size() >= Text.size() && SameText(Name.data(), Text.size(), Text)
                               : SameText(Name.data(), Name.size(), Text);
        if (Found)
            return Row;
    }
    return -1;
}

} // namespace

const TZone* ZoneAt(int Row)
{
    return Row >= 0 && static_cast<std::size_t>(Row) < Zones.size() ? &Zones[static_cast<std::size_t>(Row)] : nullptr;
}

LRESULT ListViewZonesNotify(NMHDR& Header)
{
    switch (Header.code) {
    case LVN_GETDISPINFOA: ListViewZonesGetDispInfo(reinterpret_cast<NMLVDISPINFOA&>(Header)); return 0;
    case LVN_GETDISPINFOW: ListViewZonesGetDispInfo(reinterpret_cast<NMLVDISPINFOW&>(Header)); return 0;
    case LVN_ODFINDITEMA: {
        const auto& Find = reinterpret_cast<NMLVFINDITEMA&>(Header);
        return ListViewZonesFindItem(Find.lvfi.psz ? Find.lvfi.psz : "", Find.lvfi.flags, Find.iStart);
    }
    case LVN_ODFINDITEMW: { // Wine asks in Unicode whatever the parent's character set
        const auto& Find = reinterpret_cast<NMLVFINDITEMW&>(Header);
        return ListViewZonesFindItem(Find.lvfi.psz ? AnsiText(Find.lvfi.psz) : "", Find.lvfi.flags, Find.iStart);
    }
    default: return 0;
    }
}

} // namespace tol

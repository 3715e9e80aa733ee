// Owners of the window layer's GDI objects, icons, image lists and device contexts.
#pragma once

#include "Owners.h"

#include <windows.h>
#include <commctrl.h>

namespace tol {

inline void DeleteGdiObject(HGDIOBJ H) noexcept { ::DeleteObject(H); }
inline void DestroyIconHandle(HICON H) noexcept { ::DestroyIcon(H); }
inline void DestroyImageList(HIMAGELIST H) noexcept { ::ImageList_Destroy(H); }

using TFont = TOwner<TNullHandleTraits<HFONT, DeleteGdiObject>>;
using TBitmap = TOwner<TNullHandleTraits<HBITMAP, DeleteGdiObject>>;
using TIcon = TOwner<TNullHandleTraits<HICON, DestroyIconHandle>>;
using TImageList = TOwner<TNullHandleTraits<HIMAGELIST, DestroyImageList>>;

// A window's device context with a font selected into it: the font the context had is
// put back before the context is released.
struct TFontDcHandle {
    HWND Window = nullptr;
    HDC Dc = nullptr;
    HGDIOBJ Previous = nullptr;
    bool operator==(const TFontDcHandle&) const = default;
};
struct TFontDcTraits {
    using THandle = TFontDcHandle;
    static THandle Invalid() noexcept { return {}; }
    static void Close(THandle H) noexcept
    {
        ::SelectObject(H.Dc, H.Previous);
        ::ReleaseDC(H.Window, H.Dc);
    }
};
using TFontDc = TOwner<TFontDcTraits>;

} // namespace tol

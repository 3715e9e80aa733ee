// Owners of the window layer's GDI objects, icons and image lists.
#pragma once

#include "Owners.h"

#include <windows.h>
#include <commctrl.h>

namespace tol {

// A GDI-like handle whose "none" is null, released by Release.
template <typename THandleType, auto Release>
struct TNullHandleTraits {
    using THandle = THandleType;
    static THandle Invalid() noexcept { return nullptr; }
    static void Close(THandle H) noexcept { Release(H); }
};

inline void DeleteGdiObject(HGDIOBJ H) noexcept { ::DeleteObject(H); }
inline void DestroyIconHandle(HICON H) noexcept { ::DestroyIcon(H); }
inline void DestroyImageList(HIMAGELIST H) noexcept { ::ImageList_Destroy(H); }

using TFont = TOwner<TNullHandleTraits<HFONT, DeleteGdiObject>>;
using TBitmap = TOwner<TNullHandleTraits<HBITMAP, DeleteGdiObject>>;
using TIcon = TOwner<TNullHandleTraits<HICON, DestroyIconHandle>>;
using TImageList = TOwner<TNullHandleTraits<HIMAGELIST, DestroyImageList>>;

} // namespace tol

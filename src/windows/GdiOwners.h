// Owners of the window layer's GDI objects, icons and image lists. Each kind keeps a
// count of the objects alive, so that a test can see that nothing is left behind
// (the system's own counters answer 0 under Wine).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <utility>

namespace tol {

template <typename TTraits>
class TGdiOwner {
public:
    using THandle = typename TTraits::THandle;

    TGdiOwner() = default;
    explicit TGdiOwner(THandle Handle) noexcept : FHandle(Handle)
    {
        if (FHandle)
            ++FLive;
    }
    TGdiOwner(TGdiOwner&& Other) noexcept : FHandle(std::exchange(Other.FHandle, nullptr)) {}
    TGdiOwner& operator=(TGdiOwner&& Other) noexcept
    {
        if (this != &Other) {
            Reset();
            FHandle = std::exchange(Other.FHandle, nullptr);
        }
        return *this;
    }
    TGdiOwner(const TGdiOwner&) = delete;
    TGdiOwner& operator=(const TGdiOwner&) = delete;
    ~TGdiOwner() { Reset(); }

    THandle Get() const noexcept { return FHandle; }
    explicit operator bool() const noexcept { return FHandle != nullptr; }
    void Reset() noexcept
    {
        if (FHandle) {
            TTraits::Release(FHandle);
            --FLive;
            FHandle = nullptr;
        }
    }

    // How many objects of this kind are alive in the process.
    static int Live() noexcept { return FLive; }

private:
    THandle FHandle = nullptr;
    static inline std::atomic<int> FLive{0};
};

struct TFontTraits {
    using THandle = HFONT;
    static void Release(HFONT H) noexcept { ::DeleteObject(H); }
};
struct TBrushTraits {
    using THandle = HBRUSH;
    static void Release(HBRUSH H) noexcept { ::DeleteObject(H); }
};
struct TBitmapTraits {
    using THandle = HBITMAP;
    static void Release(HBITMAP H) noexcept { ::DeleteObject(H); }
};
struct TIconTraits {
    using THandle = HICON;
    static void Release(HICON H) noexcept { ::DestroyIcon(H); }
};
struct TImageListTraits {
    using THandle = HIMAGELIST;
    static void Release(HIMAGELIST H) noexcept { ::ImageList_Destroy(H); }
};

using TFont = TGdiOwner<TFontTraits>;
using TBrush = TGdiOwner<TBrushTraits>;
using TBitmap = TGdiOwner<TBitmapTraits>;
using TIcon = TGdiOwner<TIconTraits>;
using TImageList = TGdiOwner<TImageListTraits>;

} // namespace tol

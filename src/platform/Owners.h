// Owners of system handles: one owner per handle, never copied, released once. Each
// kind keeps a count of the handles alive, so that a test can see that nothing is
// left behind (the system's own counters answer 0 under Wine).
#pragma once

#include <windows.h>

#include <atomic>
#include <utility>

namespace tol {

// Traits name the handle type, its "none" value and how it is released.
template <typename TTraits>
class TOwner {
public:
    using THandle = typename TTraits::THandle;

    TOwner() = default;
    explicit TOwner(THandle Handle) noexcept { Reset(Handle); }
    TOwner(TOwner&& Other) noexcept : FHandle(std::exchange(Other.FHandle, TTraits::Invalid())) {}
    TOwner& operator=(TOwner&& Other) noexcept
    {
        if (this != &Other) {
            Reset();
            FHandle = std::exchange(Other.FHandle, TTraits::Invalid());
        }
        return *this;
    }
    TOwner(const TOwner&) = delete;
    TOwner& operator=(const TOwner&) = delete;
    ~TOwner() { Reset(); }

    THandle Get() const noexcept { return FHandle; }
    bool Valid() const noexcept { return FHandle != TTraits::Invalid(); }
    explicit operator bool() const noexcept { return Valid(); }

    void Reset(THandle Handle = TTraits::Invalid()) noexcept
    {
        if (Valid()) {
            TTraits::Close(FHandle);
            --FLive;
        }
        FHandle = Handle;
        if (Valid())
            ++FLive;
    }

    // How many handles of this kind are alive in the process.
    static int Live() noexcept { return FLive; }

private:
    THandle FHandle = TTraits::Invalid();
    static inline std::atomic<int> FLive{0};
};

// A handle whose "none" is null, released by Release.
template <typename THandleType, auto Release>
struct TNullHandleTraits {
    using THandle = THandleType;
    static THandle Invalid() noexcept { return nullptr; }
    static void Close(THandle H) noexcept { Release(H); }
};

// A handle whose "none" is INVALID_HANDLE_VALUE, released by Release.
template <auto Release>
struct TInvalidHandleTraits : TNullHandleTraits<HANDLE, Release> {
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
};

inline void CloseKernelHandle(HANDLE H) noexcept { ::CloseHandle(H); }
inline void CloseFind(HANDLE H) noexcept { ::FindClose(H); }
inline void CloseRegKey(HKEY Key) noexcept { ::RegCloseKey(Key); }

using TFileHandle = TOwner<TInvalidHandleTraits<CloseKernelHandle>>;
using TFindHandle = TOwner<TInvalidHandleTraits<CloseFind>>;
using TRegKey = TOwner<TNullHandleTraits<HKEY, CloseRegKey>>;

// Keeps a window from taking input for the object's lifetime, unless it already took
// none: the owner of a modal step.
class TDisabledWindow {
public:
    explicit TDisabledWindow(HWND Window) noexcept : FWindow(Window && ::IsWindowEnabled(Window) ? Window : nullptr)
    {
        if (FWindow)
            ::EnableWindow(FWindow, FALSE);
    }
    ~TDisabledWindow()
    {
        if (FWindow)
            ::EnableWindow(FWindow, TRUE);
    }
    TDisabledWindow(const TDisabledWindow&) = delete;
    TDisabledWindow& operator=(const TDisabledWindow&) = delete;

private:
    HWND FWindow;
};

} // namespace tol

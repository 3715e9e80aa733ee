// Owners of system handles: one owner per handle, never copied, closed once.
#pragma once

#include <windows.h>

#include <utility>

namespace tol {

// Traits name the handle type, its "none" value and how it is released.
template <typename TTraits>
class TOwner {
public:
    using THandle = typename TTraits::THandle;

    TOwner() = default;
    explicit TOwner(THandle Handle) noexcept : FHandle(Handle) {}
    TOwner(TOwner&& Other) noexcept : FHandle(std::exchange(Other.FHandle, TTraits::Invalid())) {}
    TOwner& operator=(TOwner&& Other) noexcept
    {
        if (this != &Other)
            Reset(std::exchange(Other.FHandle, TTraits::Invalid()));
        return *this;
    }
    TOwner(const TOwner&) = delete;
    TOwner& operator=(const TOwner&) = delete;
    ~TOwner() { Reset(); }

    THandle Get() const noexcept { return FHandle; }
    bool Valid() const noexcept { return FHandle != TTraits::Invalid(); }
    void Reset(THandle Handle = TTraits::Invalid()) noexcept
    {
        if (Valid())
            TTraits::Close(FHandle);
        FHandle = Handle;
    }

private:
    THandle FHandle = TTraits::Invalid();
};

struct TFileHandleTraits {
    using THandle = HANDLE;
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE H) noexcept { ::CloseHandle(H); }
};

struct TFindHandleTraits {
    using THandle = HANDLE;
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE H) noexcept { ::FindClose(H); }
};

using TFileHandle = TOwner<TFileHandleTraits>;
using TFindHandle = TOwner<TFindHandleTraits>;

} // namespace tol

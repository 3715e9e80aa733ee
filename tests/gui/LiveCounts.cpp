#include "LiveCounts.h"

#include "GdiOwners.h"
#include "Owners.h"
#include "Windowing.h"

#include <cstdint>

namespace tol::test {

namespace {

BOOL CALLBACK CountChild(HWND, LPARAM Count)
{
    ++*reinterpret_cast<int*>(Count);
    return TRUE;
}

} // namespace

int OpenKernelHandles()
{
    // Handle values are multiples of 4, given out lowest first; a process of this
    // size stays far below the bound.
    constexpr std::uintptr_t Bound = 0x10000;
    int Count = 0;
    for (std::uintptr_t Value = 4; Value < Bound; Value += 4) {
        DWORD Flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(Value), &Flags))
            ++Count;
    }
    return Count;
}

TLiveCounts LiveCounts()
{
    // The thread's windows and all their descendants.
    int Windows = 0;
    for (const HWND Window : TopWindows({{}, {}, 0, GetCurrentThreadId(), false})) {
        ++Windows;
        EnumChildWindows(Window, CountChild, reinterpret_cast<LPARAM>(&Windows));
    }
    return {Windows,
            TFont::Live(),
            TIcon::Live(),
            TBitmap::Live(),
            TImageList::Live(),
            TFileHandle::Live(),
            TFindHandle::Live(),
            OpenKernelHandles(),
            GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
            GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)};
}

std::ostream& operator<<(std::ostream& Out, const TLiveCounts& C)
{
    return Out << "windows " << C.Windows << ", fonts " << C.Fonts << ", icons " << C.Icons << ", bitmaps " << C.Bitmaps
               << ", image lists " << C.ImageLists << ", files " << C.Files << ", searches " << C.Searches
               << ", kernel handles " << C.KernelHandles << ", GDI " << C.GdiObjects << ", USER " << C.UserObjects;
}

} // namespace tol::test

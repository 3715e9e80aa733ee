// What a window or an action may leave behind, counted where Wine can count it: the
// thread's windows by enumeration, the program's GDI objects, icons, image lists, file
// and search handles through its own owning types, and the process's kernel handles by
// asking the system about each handle value (GetGuiResources and GetProcessHandleCount
// answer 0 under Wine).
#pragma once

#include <windows.h>

#include <ostream>

namespace tol::test {

struct TLiveCounts {
    int Windows, Fonts, Icons, Bitmaps, ImageLists, Files, Searches, KernelHandles;
    DWORD GdiObjects, UserObjects;
    bool operator==(const TLiveCounts&) const = default;
};

TLiveCounts LiveCounts();
std::ostream& operator<<(std::ostream& Out, const TLiveCounts& Counts);

// The kernel handles open in the process.
int OpenKernelHandles();

} // namespace tol::test

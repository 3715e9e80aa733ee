#include "Dpi.h"

namespace tol {

int SystemDpi() noexcept
{
    static const int Dpi = [] {
        const HDC Screen = ::GetDC(nullptr);
        const int Value = Screen ? ::GetDeviceCaps(Screen, LOGPIXELSY) : 96;
        ::ReleaseDC(nullptr, Screen);
        return Value > 0 ? Value : 96;
    }();
    return Dpi;
}

} // namespace tol

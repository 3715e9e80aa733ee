#include "Messages.h"

#include "Texts.h"

#include <windows.h>

#include <utility>

namespace tol {

namespace {

TMessageBoxHandler& Handler()
{
    // Until a window layer is in place, the system's own box stands in.
    static TMessageBoxHandler Current = [](TMessageKind Kind, const std::string& Text) {
        const bool IsError = Kind == TMessageKind::Error;
        ::MessageBoxA(nullptr, Text.c_str(), IsError ? Texts::ErrorCaption : Texts::WarningCaption,
                      MB_OK | (IsError ? MB_ICONSTOP : MB_ICONEXCLAMATION));
    };
    return Current;
}

} // namespace

void ShowMessageBox(TMessageKind Kind, const std::string& Text) { Handler()(Kind, Text); }

TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler NewHandler)
{
    return std::exchange(Handler(), std::move(NewHandler));
}

} // namespace tol

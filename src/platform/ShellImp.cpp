#include "ShellImp.h"

#include "Application.h"
#include "ResourceIds.h"

#include <windows.h>

#include <shellapi.h>
#include <utility>

namespace tol {

namespace {

std::intptr_t ShellOpenWithSystem(const std::string& Target)
{
    return reinterpret_cast<std::intptr_t>(
        ::ShellExecuteA(Application.Handle, "open", Target.c_str(), "", "", SW_SHOW));
}

TShellOpenHook& Hook()
{
    static TShellOpenHook Current = ShellOpenWithSystem;
    return Current;
}

} // namespace

std::intptr_t ShellOpen(const std::string& Target) { return Hook()(Target); }

TShellOpenHook SetShellOpenHook(TShellOpenHook NewHook) { return std::exchange(Hook(), std::move(NewHook)); }

std::string GetMailToURL()
{
    char Buffer[1024];
    const int Length = ::LoadStringA(::GetModuleHandleA(nullptr), IDS_MAILTO_URL, Buffer, sizeof Buffer);
    return std::string(Buffer, Length > 0 ? Length : 0);
}

} // namespace tol

// The shell: starting the tutorial's copy, opening a document or link for the windows,
// and the contact link kept in the string resources.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace tol {

// Starts FileName with the shell verb "open" in its own folder, the application's
// window its owner. On failure shows a warning with the system's reason and returns
// false, silently when the player declined the start; never raises.
bool StartWithShell(const std::string& FileName);

// Asks the shell to open Target in the application's window, showing it as it is;
// returns the shell's result. No failure is reported to the user.
std::intptr_t ShellOpen(const std::string& Target);

// Lets tests see what the windows ask the shell to open; returns the hook replaced.
using TShellOpenHook = std::function<std::intptr_t(const std::string&)>;
TShellOpenHook SetShellOpenHook(TShellOpenHook Hook);

// The string resource IDS_MAILTO_URL: "mailto:" and the contact address.
std::string GetMailToURL();

} // namespace tol

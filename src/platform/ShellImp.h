// Small shell helpers the windows share: opening a document or link, and the
// contact link kept in the string resources.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace tol {

// Asks the shell to open Target in the application's window, showing it as it is;
// returns the shell's result. No failure is reported to the user.
std::intptr_t ShellOpen(const std::string& Target);

// Lets tests see what the windows ask the shell to open; returns the hook replaced.
using TShellOpenHook = std::function<std::intptr_t(const std::string&)>;
TShellOpenHook SetShellOpenHook(TShellOpenHook Hook);

// The string resource IDS_MAILTO_URL: "mailto:" and the contact address.
std::string GetMailToURL();

} // namespace tol

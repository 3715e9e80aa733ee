// The one way the launcher shows a message box for an expected failure. The window
// layer installs the real box; tests install an observer.
#pragma once

#include <functional>
#include <string>

namespace tol {

enum class TMessageKind { Warning, Error };

using TMessageBoxHandler = std::function<void(TMessageKind, const std::string&)>;

void ShowMessageBox(TMessageKind Kind, const std::string& Text);

// Returns the handler it replaces.
TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler Handler);

} // namespace tol

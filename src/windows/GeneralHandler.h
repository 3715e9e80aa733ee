// The application's general handler: the one place where an unexpected failure ends
// up, at the boundary between Windows and the program. It shows the failure's
// message and the program goes on.
#pragma once

#include <exception>

namespace tol {

// Shows the failure in flight (call it from a catch block). Never raises.
void HandleException(const std::exception_ptr& Failure) noexcept;

// Runs Action; a failure is shown by the general handler. Returns false on failure.
template <typename TAction>
bool Guarded(TAction&& Action) noexcept
{
    try {
        Action();
        return true;
    } catch (...) {
        HandleException(std::current_exception());
        return false;
    }
}

} // namespace tol

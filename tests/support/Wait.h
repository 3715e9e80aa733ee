// The one way the tests wait for something another thread or program does: ask again
// and again until it holds or the time is up.
#pragma once

#include <windows.h>

#include <chrono>

namespace tol::test {

using namespace std::chrono_literals;

// True once Condition holds, asked every Poll; false when it still does not once
// Deadline has passed since the call.
template <typename TCondition>
bool WaitUntil(TCondition&& Condition, std::chrono::milliseconds Deadline, std::chrono::milliseconds Poll = 20ms)
{
    const auto End = std::chrono::steady_clock::now() + Deadline;
    while (!Condition()) {
        if (std::chrono::steady_clock::now() >= End)
            return false;
        Sleep(static_cast<DWORD>(Poll.count()));
    }
    return true;
}

} // namespace tol::test

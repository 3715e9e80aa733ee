// What the program prepares before its first window and undoes after its last: the
// application's title, the common controls, the launcher's message boxes, and the
// COM apartment the shell asks of the thread that calls it.
#pragma once

namespace tol {

class TApplicationScope {
public:
    TApplicationScope();
    ~TApplicationScope();
    TApplicationScope(const TApplicationScope&) = delete;
    TApplicationScope& operator=(const TApplicationScope&) = delete;

private:
    bool FComInitialized = false;
};

} // namespace tol

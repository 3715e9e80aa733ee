// Failures of the launcher, each with its fixed message text. An action that meets
// one is abandoned and the general handler shows the text (see AddFullStop).
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace tol {

// Base of every failure the general handler reports.
class Exception : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A text that is not an integer: "'%s' is not a valid integer value".
class EConvertError : public Exception {
public:
    explicit EConvertError(std::string_view Text);
};

// A system call on a file failed; the text follows the system's error code.
class EInOutError : public Exception {
public:
    explicit EInOutError(unsigned long ErrorCode);
    unsigned long ErrorCode() const noexcept { return FErrorCode; }

private:
    unsigned long FErrorCode;
};

// A file could not be opened: "Cannot open file %s".
class EFOpenError : public Exception {
public:
    explicit EFOpenError(std::string_view FileName);
};

// Fewer bytes than asked for reached a file: "Cannot write to file %s".
class EWriteError : public Exception {
public:
    explicit EWriteError(std::string_view FileName);
};

// Checked arithmetic: "Integer overflow".
class EIntOverflow : public Exception {
public:
    EIntOverflow();
};

// Checked narrowing: "Range check error".
class ERangeError : public Exception {
public:
    ERangeError();
};

// The text of an input/output error for a system error code.
std::string InOutErrorText(unsigned long ErrorCode);

// The general handler's rule: a full stop is added when the last character has a
// higher character code than "." (letters and digits get one; blanks, "!", quotes,
// ")", ",", "-" and "." do not).
std::string AddFullStop(std::string Message);

// Puts Arg in place of the first "%s" (or "%d") of Template.
std::string FormatText(std::string_view Template, std::string_view Arg);

} // namespace tol

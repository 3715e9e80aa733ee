#include "Errors.h"

namespace tol {

EConvertError::EConvertError(std::string_view Text) : Exception(FormatText("'%s' is not a valid integer value", Text))
{
}

EInOutError::EInOutError(unsigned long ErrorCode) : Exception(InOutErrorText(ErrorCode)), FErrorCode(ErrorCode) {}

EFOpenError::EFOpenError(std::string_view FileName) : Exception(FormatText("Cannot open file %s", FileName)) {}

EWriteError::EWriteError(std::string_view FileName) : Exception(FormatText("Cannot write to file %s", FileName)) {}

EIntOverflow::EIntOverflow() : Exception("Integer overflow") {}

ERangeError::ERangeError() : Exception("Range check error") {}

std::string InOutErrorText(unsigned long ErrorCode)
{
    switch (ErrorCode) {
    case 2: return "File not found";
    case 3: return "Invalid filename";
    case 4: return "Too many open files";
    case 5: return "File access denied";
    default: return FormatText("I/O error %d", std::to_string(ErrorCode));
    }
}

std::string AddFullStop(std::string Message)
{
    if (!Message.empty() && static_cast<unsigned char>(Message.back()) > '.')
        Message += '.';
    return Message;
}

std::string FormatText(std::string_view Template, std::string_view Arg)
{
    std::string Result(Template);
    for (const char* Marker : {"%s", "%d"}) {
        const auto Pos = Result.find(Marker);
        if (Pos != std::string::npos)
            return Result.replace(Pos, 2, Arg);
    }
    return Result;
}

} // namespace tol

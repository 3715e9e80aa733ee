#include "GeneralHandler.h"

#include "Application.h"
#include "Errors.h"
#include "Texts.h"

#include <windows.h>

#include <new>
#include <string>

namespace tol {

void HandleException(const std::exception_ptr& Failure) noexcept
{
    std::string Message;
    try {
        try {
            std::rethrow_exception(Failure);
        } catch (const std::bad_alloc&) {
            Message = Texts::OutOfMemory;
        } catch (const std::exception& E) {
            Message = E.what();
        } catch (...) {
            Message = Texts::UnexpectedFailure;
        }
        Message = AddFullStop(std::move(Message));
    } catch (...) {
        Message = Texts::OutOfMemoryStop;
    }
    ::MessageBoxA(Application.Handle, Message.c_str(), Application.Title.c_str(), MB_OK | MB_ICONSTOP);
}

} // namespace tol

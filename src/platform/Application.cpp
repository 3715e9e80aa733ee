#include "Application.h"

namespace tol {

TApplication Application;

} // namespace tol

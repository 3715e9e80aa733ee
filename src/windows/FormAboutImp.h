// The About box: the program's name, notice, contact link and web badge.
#pragma once

namespace tol {

// Shows the About box modally; its result is of no interest.
void ShowAbout();

} // namespace tol

// The launcher's message boxes for expected failures: centred on the screen,
// captioned "Warning" or "Error", the text wrapped at half the screen's width, one
// "OK" button that answers both Enter and Escape.
#pragma once

#include "Messages.h"

#include <string>

namespace tol {

void ShowMessageDlg(TMessageKind Kind, const std::string& Text);

} // namespace tol

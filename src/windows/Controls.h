// The window layer's one way to make a child control, a tooltip and the forms' font,
// to measure text and to hand a control its texts. Making a control or a tooltip, and
// measuring, raise for the general handler when the system refuses, so that a window
// never opens with a gap where a control should be; a font the system refuses is
// null, and the control shows the system's font instead.
#pragma once

#include "GdiOwners.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace tol {

// What a child control is: its class, text, style (WS_CHILD | WS_VISIBLE are added),
// extended style and id.
struct TControlDesc {
    const char* Class;
    const char* Text;
    DWORD Style;
    DWORD ExStyle;
    int Id;
};

// Creates the control in Parent at Bounds and gives it Font (none when null).
HWND CreateControl(HWND Parent, const TControlDesc& Desc, HFONT Font, const RECT& Bounds = {});

// The tooltip window of Owner's controls.
HWND CreateToolTips(HWND Owner);
// Gives Control the tooltip Text, replacing one it had. The tooltip window reads the
// text when it shows it: Text must live as long as the tool.
void SetToolTip(HWND ToolTips, HWND Owner, HWND Control, const char* Text);

// The forms' font: 8-point "MS Sans Serif" at Dpi dots per inch.
TFont CreateFormFont(int Dpi, int Weight = FW_NORMAL, bool Underline = false);

// Window's device context with Font selected (the system's GUI font when Font is
// null). Raises std::runtime_error when the system has no context to give.
TFontDc GetFontDc(HWND Window, HFONT Font);

std::string WindowText(HWND Window);
// The width of Text in Font, as drawn in Window.
int TextWidth(HWND Window, HFONT Font, std::string_view Text);

// Copies Text into a control's Buffer of Size characters, cut to fit, in the character
// set the control asks in: the program keeps its texts in the ANSI code page, and
// Wine's controls ask in Unicode as well.
void CopyText(char* Buffer, int Size, const std::string& Text);
void CopyText(wchar_t* Buffer, int Size, const std::string& Text);
// A control's Unicode text in the ANSI code page.
std::string AnsiText(const wchar_t* Text);

} // namespace tol

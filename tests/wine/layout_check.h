#pragma once

#include <windows.h>

#include <string>

#include "ui/layout.h"
#include "ui/win32/window.h"

namespace tarnwell {

std::string ClassNameOf(HWND window);
std::string WindowText(HWND window);
// A control's place in its parent window's client area.
RECT PlaceInParent(HWND control);
// The brush and background colour an edit field is painted with, asked the way Windows
// asks: a disabled or read-only edit sends WM_CTLCOLORSTATIC, an enabled one WM_CTLCOLOREDIT.
COLORREF PaintedColour(HWND edit);
// Every control of a window against its row: class, id, caption, place, state, font.
void ExpectControlsMatchTheirRows(const Win32Window& window);
// The window's caption, client size and fixed frame with only a system menu.
void ExpectFixedWindow(const Win32Window& window);
// The window's caption, client and outer size, and sizeable frame with only a system menu.
void ExpectSizeableWindow(const Win32Window& window, int outer_width, int outer_height);

}  // namespace tarnwell

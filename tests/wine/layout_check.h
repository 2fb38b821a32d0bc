#pragma once

#include <windows.h>

#include <string>

#include "ui/win32/window.h"

namespace tarnwell {

std::string WindowText(HWND window);
// The colour an edit is painted in, asked as Windows asks for its state.
COLORREF PaintedColour(HWND edit);
void ShowEveryPage(Win32Window& window);

}  // namespace tarnwell

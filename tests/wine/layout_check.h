#pragma once

#include <windows.h>

#include <string>

#include "ui/win32/window.h"

namespace tarnwell {

std::string WindowText(HWND window);
void ShowEveryPage(Win32Window& window);

}  // namespace tarnwell

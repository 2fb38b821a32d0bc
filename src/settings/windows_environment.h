#pragma once

#include "platform/registry.h"

namespace tarnwell {

// The machine-wide processor architecture (read in the 64-bit view) contains "64".
bool ReadIs64BitWindows(Registry& registry);
// The Windows product name contains "Windows 8", case-sensitively.
bool ReadIsWindows8(Registry& registry);

}  // namespace tarnwell

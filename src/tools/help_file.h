#pragma once

#include <string_view>

#include "state/app_state.h"

namespace tarnwell {

inline constexpr std::string_view kHelpFileName = "tarnwell-help.pdf";

// The help button: the help file beside the program opened by its own program, or a warning
// when it is not there. Only the program's folder counts, never the current one.
void OpenHelpFile(const Services& services);

}  // namespace tarnwell

#pragma once

#include <string_view>

namespace tarnwell {

// The application title: the caption of the standard error box and of the taskbar button.
inline constexpr std::string_view kApplicationTitle = "Tarnwell";

}  // namespace tarnwell

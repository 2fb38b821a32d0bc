#pragma once

#include "platform/elevation.h"

namespace tarnwell {

// The token of the calling thread (the process token when it does not impersonate) is a
// member of the built-in Administrators group: elevated, not merely a group member.
class Win32Elevation final : public Elevation {
 public:
  bool IsAppElevated() override;
};

}  // namespace tarnwell

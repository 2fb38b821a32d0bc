#pragma once

namespace tarnwell {

// Whether the program runs with administrator rights in effect.
class Elevation {
 public:
  virtual ~Elevation() = default;
  virtual bool IsAppElevated() = 0;
};

}  // namespace tarnwell

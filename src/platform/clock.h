#pragma once

namespace tarnwell {

struct Date {
  int year = 0;
  int month = 0;  // 1 to 12
  int day = 0;    // 1 to 31
};

// The system clock, as the program asks it: today's local date.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual Date Today() = 0;
};

}  // namespace tarnwell

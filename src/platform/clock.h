#pragma once

namespace tarnwell {

struct Date {
  int year = 0;
  int month = 0;  // 1 to 12
  int day = 0;    // 1 to 31
};

struct DateTime {
  Date date;
  int hour = 0;    // 0 to 23
  int minute = 0;  // 0 to 59
  int second = 0;  // 0 to 59
};

// The system clock, as the program asks it, in local time.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual Date Today() = 0;
  virtual DateTime Now() = 0;
};

}  // namespace tarnwell

#pragma once

#include <windows.h>

#include "platform/clock.h"

namespace tarnwell {

class Win32Clock final : public Clock {
 public:
  Date Today() override { return Now().date; }
  DateTime Now() override {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {{now.wYear, now.wMonth, now.wDay}, now.wHour, now.wMinute, now.wSecond};
  }
};

}  // namespace tarnwell

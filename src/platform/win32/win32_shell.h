#pragma once

#include <windows.h>

#include "platform/shell.h"
#include "platform/win32/library.h"

namespace tarnwell {

class Win32Shell final : public Shell {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }
  std::intptr_t Execute(std::string_view verb, std::string_view file, std::string_view parameters,
                        std::string_view folder, int show) override;
  Ran RunAndWait(std::string_view file, std::string_view parameters, int show,
                 unsigned milliseconds) override;

 private:
  HWND Owner() const;
  HWND owner_ = nullptr;
  Library shell32_{"shell32.dll"};
};

}  // namespace tarnwell

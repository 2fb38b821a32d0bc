#pragma once

#include <windows.h>

#include "ui/dialogs.h"

namespace tarnwell {

// Message boxes owned by the program's active window: the kind's icon and caption, OK or
// Yes and No. The standard error box carries the application title.
class Win32Dialogs final : public Dialogs {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }

  Answer Message(MessageKind kind, std::string_view text) override;
  void ShowError(std::string_view text) override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace tarnwell

#pragma once

#include <optional>
#include <string>

#include "ui/dialogs.h"
#include "ui/events.h"
#include "ui/form.h"

namespace tarnwell {

// The "Browse" window: a double-click on a folder of the shell's tree puts its path, ending
// in a backslash, into `chosen` and closes the picker. A node without a file-system path is
// ignored.
class FolderPicker final : public EventSink {
 public:
  FolderPicker(Form& form, std::optional<std::string>& chosen) : form_(form), chosen_(chosen) {}
  void OnEvent(ControlId id, Event event) override;

  void JamShellTree1DblClick();
  void btnCancelClick();

 private:
  Form& form_;
  std::optional<std::string>& chosen_;
};

// Shows a new picker, modally, over the window whose handler calls it: the folder chosen,
// or nothing when it was cancelled.
std::optional<std::string> ShowFolderPicker(Dialogs& dialogs);

}  // namespace tarnwell

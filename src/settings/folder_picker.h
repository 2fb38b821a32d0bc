#pragma once

#include "state/app_state.h"
#include "ui/events.h"
#include "ui/form.h"

namespace tarnwell {

// The fields the folder picker can fill, by BrowseTarget. Any other target fills none.
enum BrowseTargets : int {
  kBrowseAttachmentPath = 1,
  kBrowsePstPath = 2,
  kBrowseSaveAttachmentPath = 3,
  kBrowseLocationPath = 4,
  kBrowseOstPath = 5,
  kBrowseDocCachePath = 6,
};

// The "Browse" window: a double-click on a folder of the shell's tree puts its path, ending
// in a backslash, into the field that BrowseTarget names, enables "&Save and Close", counts
// the choice and closes the picker. A node without a file-system path is ignored.
class FolderPicker final : public EventSink {
 public:
  FolderPicker(Form& form, AppState& state) : form_(form), state_(state) {}
  void OnEvent(ControlId id, Event event) override;
  void JamShellTree1DblClick();

 private:
  Form& form_;
  AppState& state_;
};

// Shows a new picker, modally, over the window whose handler calls it.
void ShowFolderPicker(Dialogs& dialogs, AppState& state);

}  // namespace tarnwell

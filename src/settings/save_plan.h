#pragma once

// What "&Save and Close" writes, worked out once from the main window's controls: carried
// out by the save, and written to a file by the export for other PCs.

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "settings/reg_file.h"
#include "state/app_state.h"
#include "ui/dialogs.h"
#include "ui/form.h"

namespace tarnwell {

// A message the save shows on its way: a folder field passed over, or the .ost notice.
struct SaveNotice {
  MessageKind kind = MessageKind::Warning;
  std::string_view text;
};

// One key the save opens, created when missing, and what it then does there in order. When
// the key cannot be opened, its notices are passed over with its values.
struct SaveKeyPlan {
  Root root = Root::CurrentUser;
  std::string path;
  RegistryView view = RegistryView::NativeView;
  Rights rights = Rights::Write;
  std::vector<std::variant<SaveNotice, RegFileValue>> steps;
};

using SaveStep = std::variant<SaveNotice, SaveKeyPlan>;

// ThisPc: what a save writes here: changed fields only, folders that exist here, the
// machine-wide value when it moved. OtherPc: every per-user value of the installation's
// save table as the controls stand, folder fields as typed (an empty one left out, as a
// save never writes it), and nothing machine-wide.
enum class SaveFor { ThisPc, OtherPc };

std::vector<SaveStep> PlanSave(const Form& form, const Services& services, const AppState& state,
                               SaveFor purpose);

// The Level1Remove a save writes: the allowed list followed by the loaded value's unlisted
// pieces; nothing when it equals a non-empty loaded value.
std::optional<std::string> Level1RemoveToWrite(const std::vector<std::string>& allowed,
                                               std::string_view loaded);

}  // namespace tarnwell

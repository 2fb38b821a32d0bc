#pragma once

// The system menu's two file commands: the settings exported for other PCs, and a backup
// (or an export) put back.

#include "state/app_state.h"
#include "ui/form.h"

namespace tarnwell {

// Asks where to save, then writes the per-user values a save would write for the controls
// as they stand, every one of them, into a registry file, and says where. Nothing is
// written to the registry.
void ExportSettings(const Form& form, const Services& services, const AppState& state);

// Asks for a registry file in the backups folder and puts its values back, once the file
// holds only values a save writes for this installation and the user agreed, after a backup
// of the values as they stand. Machine-wide values only for an administrator. True when the
// values were written; the program then ends, as after a save.
bool RestoreSettings(const Services& services, const AppState& state);

}  // namespace tarnwell

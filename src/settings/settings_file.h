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

}  // namespace tarnwell

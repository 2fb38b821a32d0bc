#pragma once

#include "state/app_state.h"
#include "ui/form.h"

namespace tarnwell {

// "&Revert to previous path": puts the attachment folder that Outlook used before back into
// the field (read in the view the settings were read in) and disables the button. Writes
// nothing; the save decides. A wrong-typed value in the native view raises RegistryError,
// and the button then stays enabled.
void RevertAttachmentPath(Form& form, Registry& registry, AppState& state);

}  // namespace tarnwell

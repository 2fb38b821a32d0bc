#pragma once

#include "state/app_state.h"
#include "ui/form.h"

namespace tarnwell {

// A Browse button of the main window: the folder picker for `field`, whose changed mark is
// set when a folder was chosen, so that the save treats it like a typed path.
void BrowseForField(Form& form, Dialogs& dialogs, AppState& state, ControlId field, int target);

// "&Revert to previous path": puts the attachment folder that Outlook used before back into
// the field (read in the view the settings were read in) and disables the button. Writes
// nothing; the save decides. A wrong-typed value in the native view raises RegistryError,
// and the button then stays enabled.
void RevertAttachmentPath(Form& form, Registry& registry, AppState& state);

// "&View Folder": opens the attachment folder that the field names now in the shell, or
// says why it cannot.
void ViewAttachmentFolder(const Form& form, const Services& services);

}  // namespace tarnwell

#pragma once

#include <string_view>

#include "state/outlook_version.h"
#include "ui/dialogs.h"
#include "ui/form.h"

namespace tarnwell {

// Puts the switches of the catalogue into the "Startup Options" list.
void FillCommandLineOptions(Form& form);

// A click on the list: the selected switch's note and description, its argument field and
// Browse button, and whether it can be launched in the detected version.
void ShowCommandLineOption(Form& form, OfficeVersion version);

// Browse for the selected switch's argument file.
void BrowseForArgument(Form& form, Dialogs& dialogs);

}  // namespace tarnwell

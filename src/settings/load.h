#pragma once

#include "platform/registry.h"
#include "state/loaded_settings.h"
#include "state/outlook_version.h"
#include "ui/form.h"

namespace tarnwell {

// Load every setting of the catalogue into the main window's controls for the detected
// installation, in the native view (through the key object) or the 64-bit view. A value
// of another type than the catalogue's counts as missing. Text put into a field leaves
// its changed mark clear. When Outlook\Security cannot be opened it is created with its
// three values empty.
void ProcessRegRead32Bit(Registry& registry, const OutlookVersionInfo& outlook, Form& form,
                         LoadedSettings& loaded);
void ProcessRegRead64Bit(Registry& registry, const OutlookVersionInfo& outlook, Form& form,
                         LoadedSettings& loaded);

}  // namespace tarnwell

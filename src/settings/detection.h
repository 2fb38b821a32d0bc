#pragma once

#include "platform/registry.h"
#include "state/outlook_version.h"
#include "ui/form.h"

namespace tarnwell {

// Finds the installed Outlook, newest first: the native view for 2013 down to 2000, then
// the 64-bit view for 2013 and 2010. Fills `outlook`, shows its text in pOutlookVersion and
// enables or disables the controls that depend on the version. A native-view Bitness value
// that is not text raises RegistryError.
void GetOutlookVersion(Registry& registry, Form& form, OutlookVersionInfo& outlook);

}  // namespace tarnwell

#pragma once

#include <string_view>

#include "platform/file_system.h"
#include "platform/registry.h"
#include "state/outlook_version.h"
#include "ui/form.h"

namespace tarnwell {

// Finds the installed Outlook, first match wins: a Click-to-Run Office 16.0; Office 16.0
// installed by Windows Installer in the native view, then the 64-bit view; the native view
// for 2013 down to 2000, then the 64-bit view for 2013 and 2010; and only when none of these
// is there, a Click-to-Run Office 2013. Fills `outlook`, shows its text in pOutlookVersion
// and enables or disables the controls that depend on the version. A native-view Bitness
// value that is not text raises RegistryError.
void GetOutlookVersion(Registry& registry, FileSystem& files, Form& form,
                       OutlookVersionInfo& outlook);

// The product that a Click-to-Run Office 16.0's ProductReleaseIds (comma-separated, any
// letter case) name: Visio and Project ids left out, the first of Microsoft 365 ("O365..."
// or "M365..."), 2024, 2021 and 2019 that any id names; otherwise Outlook 2016.
Product ReleaseOf(std::string_view product_release_ids);

}  // namespace tarnwell

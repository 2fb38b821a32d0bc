#pragma once

#include <string>

#include "state/app_state.h"

namespace tarnwell {

// The Inbox Repair Tool as the Office install folder in Word's InstallRoot key names it:
// read in the native view or in the 64-bit view. Empty when the key or its Path cannot be
// read; the native view makes a missing Path the bare file name.
std::string ProcessScanPST32Bit(Registry& registry, OfficeVersion version);
std::string ProcessScanPST64Bit(Registry& registry, OfficeVersion version);

// "&Run Microsoft Office Inbox Repair Tool": finds the tool that belongs to the detected
// Outlook (for Click-to-Run in its Office folder) and opens it through the shell, or says
// why it cannot. Only a full path counts as
// found: a bare name would start whatever program of that name the current folder holds.
void StartRepairTool(const Services& services, const AppState& state);

}  // namespace tarnwell

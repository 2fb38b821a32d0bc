#pragma once

#include <string_view>

#include "state/app_state.h"
#include "ui/form.h"

namespace tarnwell {

// A running process has exactly this image name (case-sensitive). When no snapshot of the
// processes can be taken, none is taken to run.
bool CheckProcesses(Processes& processes, std::string_view image_name);

// "&Launch Outlook": checks the selected switch and its argument, refuses while Outlook
// runs, and starts Outlook with the switch: with CreateProcessA on 64-bit Windows, through
// the shell on 32-bit Windows.
void LaunchOutlook(Form& form, const Services& services, const AppState& state);

}  // namespace tarnwell

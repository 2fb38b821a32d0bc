#pragma once

#include <string>

#include "state/app_state.h"

namespace tarnwell {

// The default name of the export: "OutlookUserBackup-" and the date, without leading zeros.
std::string DefaultExportName(const Date& today);

// "Extract and Save Outlook User Profile Registry Information": the mail profiles' branch
// (Windows Messaging Subsystem's up to 2010, Office's own from 2013) written by the Registry Editor
// into a .reg file the user names. The editor is waited for (a minute at most), and success is
// reported only when the file was written after it started: a file left from before does not count,
// and a slow export is not cut short.
void ExportProfiles(const Services& services, const AppState& state);

}  // namespace tarnwell

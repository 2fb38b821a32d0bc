#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "state/app_state.h"
#include "ui/form.h"

namespace tarnwell {

// "&Save and Close": asks for confirmation, writes a backup of the values it may change
// (asking whether to go on without one when that fails), then writes every setting from
// the main window's controls in a fixed order, warning about each folder field that names
// no existing folder and passing it over. Returns true when the settings were written; the
// program then ends.
bool SaveSettings(Form& form, const Services& services, const AppState& state);

// Writes a backup before registry values are changed; when it cannot be written, asks
// whether to go on without one (default No). True when the change may go ahead.
bool BackUpOrAsk(const Services& services, const OutlookVersionInfo& outlook);

// Writes Level1Remove below Outlook\Security: the allowed list followed by the loaded
// value's unlisted pieces. An empty value always, any other only when it differs from
// what was loaded.
void WriteLevel1Remove(Registry& registry, OfficeVersion version,
                       const std::vector<std::string>& allowed, std::string_view loaded);

// The warnings shown when the user ticks "Save All MIME Information" or "Enable 'Recover
// Deleted Items'", once the start-up is complete; the tick stays.
void WarnWhenTicked(Form& form, Dialogs& dialogs, const AppState& state, ControlId box);

}  // namespace tarnwell

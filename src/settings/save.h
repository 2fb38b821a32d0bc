#pragma once

#include "state/app_state.h"
#include "ui/form.h"

namespace tarnwell {

// "&Save and Close": asks for confirmation, then writes every setting from the main
// window's controls in a fixed order, warning about each folder field that names no
// existing folder and passing it over. Returns true when the user confirmed; the program
// then ends.
bool SaveSettings(Form& form, const Services& services, const AppState& state);

// The warnings shown when the user ticks "Save All MIME Information" or "Enable 'Recover
// Deleted Items'", once the start-up is complete; the tick stays.
void WarnWhenTicked(Form& form, Dialogs& dialogs, const AppState& state, ControlId box);

}  // namespace tarnwell

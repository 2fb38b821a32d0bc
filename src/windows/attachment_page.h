#pragma once

#include <string_view>

#include "ui/dialogs.h"
#include "ui/form.h"

namespace tarnwell {

// Fills "Level 3 (Blocked)" and "Level 1 (Allowed)" from the stored allow list.
void FillAttachmentLists(Form& form, std::string_view level1remove);

// Moves the selected item of `from` to the end of `to`, then selects the item that
// followed it (none when it was the last). With nothing selected, says so and moves nothing.
void MoveSelectedItem(Form& form, Dialogs& dialogs, ControlId from, ControlId to,
                      std::string_view nothing_selected);

// Moves every item of `from`, in order, to the end of `to` and selects the first of `to`.
void MoveAllItems(Form& form, ControlId from, ControlId to);

}  // namespace tarnwell

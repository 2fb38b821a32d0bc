#include "attachments/list_moves.h"

namespace tarnwell {

void MoveSelectedItem(Form& form, Dialogs& dialogs, ControlId from, ControlId to,
                      std::string_view nothing_selected) {
  const int index = form.Selected(from);
  if (index < 0) {
    dialogs.Message(MessageKind::Information, nothing_selected);
    return;
  }
  const std::string item = form.Items(from)[static_cast<std::size_t>(index)];
  if (item.empty()) {
    return;
  }
  form.AddItem(to, item);
  form.DeleteItem(from, index);
  form.Select(from, index);
}

void MoveAllItems(Form& form, ControlId from, ControlId to) {
  for (const auto& item : form.Items(from)) {
    form.AddItem(to, item);
  }
  form.ClearItems(from);
  form.Select(to, 0);
}

}  // namespace tarnwell

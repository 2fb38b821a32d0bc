#include "ui/win32/pending_controls.h"

namespace tarnwell {

PendingControl::PendingControl(const ControlLayout& row)
    : text_(row.caption),
      enabled_(row.enabled),
      colour_(row.colour),
      items_(row.items.begin(), row.items.end()) {}

// Text set by the program clears an edit field's changed mark, as it does in the made field.
void PendingControl::SetText(std::string_view text) {
  text_ = std::string(text);
  modified_ = false;
}

// A list box loses its selection when the selected item goes; a later one moves up.
void PendingControl::DeleteItem(int index) {
  if (index < 0 || index >= static_cast<int>(items_.size())) {
    return;
  }
  items_.erase(items_.begin() + index);
  if (selected_ == index) {
    selected_ = -1;
  } else if (selected_ > index) {
    --selected_;
  }
}

void PendingControl::ClearItems() {
  items_.clear();
  selected_ = -1;
}

// An index outside the list leaves it with no selection.
void PendingControl::Select(int index) {
  selected_ = index >= 0 && index < static_cast<int>(items_.size()) ? index : -1;
}

PendingControls::PendingControls(const WindowLayout& layout) {
  for (const auto& row : layout.controls) {
    controls_.emplace(row.id, PendingControl(row));
  }
}

PendingControl& PendingControls::At(ControlId id) {
  if (auto it = controls_.find(id); it != controls_.end()) {
    return it->second;
  }
  scratch_ = PendingControl();
  return scratch_;
}

const PendingControl& PendingControls::At(ControlId id) const {
  auto it = controls_.find(id);
  return it != controls_.end() ? it->second : empty_;
}

}  // namespace tarnwell

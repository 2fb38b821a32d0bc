#include "fakes/memory_form.h"

#include <stdexcept>
#include <string>

namespace tarnwell {

MemoryForm::MemoryForm(const WindowLayout& layout) : layout_(layout) {
  for (const auto& row : layout.controls) {
    State& state = controls_[row.id];
    state.text = row.caption;
    state.enabled = row.enabled;
    state.colour = row.colour;
    state.items.assign(row.items.begin(), row.items.end());
  }
  // A system-menu item is chosen like a button is clicked, and disabled like one.
  for (const auto& item : layout.system_menu) {
    controls_[item.id].text = item.caption;
  }
}

MemoryForm::State& MemoryForm::At(ControlId id) {
  auto it = controls_.find(id);
  if (it == controls_.end()) {
    throw std::out_of_range("no control " + std::to_string(id) + " on " +
                            std::string(layout_.form_name));
  }
  return it->second;
}

void MemoryForm::DeleteItem(ControlId id, int index) {
  State& list = At(id);
  if (index >= 0 && index < static_cast<int>(list.items.size())) {
    list.items.erase(list.items.begin() + index);
    // A list box loses its selection when the selected item goes.
    list.selected = list.selected == index ? -1 : list.selected - (list.selected > index);
  }
}

void MemoryForm::AddLine(ControlId id, std::string_view line) {
  At(id).items.emplace_back(line);
  At(id).caret_at_start = false;
}

}  // namespace tarnwell

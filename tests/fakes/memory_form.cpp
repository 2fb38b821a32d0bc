#include "fakes/memory_form.h"

#include <stdexcept>
#include <string>

namespace tarnwell {

MemoryForm::MemoryForm(const WindowLayout& layout) : layout_(layout) {
  for (const auto& row : layout.controls) {
    State state;
    state.kind = row.kind;
    state.text = std::string(row.caption);
    state.enabled = row.enabled;
    state.colour = row.colour;
    // A radio group's items are its buttons; Select checks one of them.
    state.items.assign(row.items.begin(), row.items.end());
    controls_.emplace(row.id, std::move(state));
  }
  // A system-menu item is chosen like a button is clicked, and disabled like one.
  for (const auto& item : layout.system_menu) {
    State state;
    state.kind = ControlKind::Button;
    state.text = std::string(item.caption);
    controls_.emplace(item.id, std::move(state));
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

const MemoryForm::State& MemoryForm::At(ControlId id) const {
  return const_cast<MemoryForm*>(this)->At(id);
}

void MemoryForm::Type(ControlId id, std::string_view text) {
  At(id).text = std::string(text);
  At(id).modified = true;
}

std::string MemoryForm::Text(ControlId id) const {
  return At(id).text;
}

void MemoryForm::SetText(ControlId id, std::string_view text) {
  At(id).text = std::string(text);
  At(id).modified = false;
}

bool MemoryForm::Modified(ControlId id) const {
  return At(id).modified;
}
void MemoryForm::SetModified(ControlId id, bool modified) {
  At(id).modified = modified;
}
bool MemoryForm::Enabled(ControlId id) const {
  return At(id).enabled;
}
void MemoryForm::SetEnabled(ControlId id, bool enabled) {
  At(id).enabled = enabled;
}
FieldColour MemoryForm::Colour(ControlId id) const {
  return At(id).colour;
}
void MemoryForm::SetColour(ControlId id, FieldColour colour) {
  At(id).colour = colour;
}
bool MemoryForm::Checked(ControlId id) const {
  return At(id).checked;
}
void MemoryForm::SetChecked(ControlId id, bool checked) {
  At(id).checked = checked;
}

std::vector<std::string> MemoryForm::Items(ControlId id) const {
  return At(id).items;
}

void MemoryForm::AddItem(ControlId id, std::string_view text) {
  At(id).items.emplace_back(text);
}

void MemoryForm::DeleteItem(ControlId id, int index) {
  State& list = At(id);
  if (index < 0 || index >= static_cast<int>(list.items.size())) {
    return;
  }
  list.items.erase(list.items.begin() + index);
  // A list box loses its selection when the selected item goes.
  if (list.selected == index) {
    list.selected = -1;
  } else if (list.selected > index) {
    --list.selected;
  }
}

void MemoryForm::ClearItems(ControlId id) {
  At(id).items.clear();
  At(id).selected = -1;
}

int MemoryForm::Selected(ControlId id) const {
  return At(id).selected;
}

void MemoryForm::Select(ControlId id, int index) {
  State& list = At(id);
  list.selected = index >= 0 && index < static_cast<int>(list.items.size()) ? index : -1;
}

std::vector<std::string> MemoryForm::Lines(ControlId id) const {
  return At(id).items;
}

void MemoryForm::AddLine(ControlId id, std::string_view line) {
  At(id).items.emplace_back(line);
  At(id).caret_at_start = false;
}

void MemoryForm::ClearLines(ControlId id) {
  At(id).items.clear();
  At(id).caret_at_start = true;
}

void MemoryForm::ShowFirstLine(ControlId id) {
  At(id).caret_at_start = true;
}

bool MemoryForm::CaretAtStart(ControlId id) const {
  return At(id).caret_at_start;
}

}  // namespace tarnwell

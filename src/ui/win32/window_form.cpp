// The Form's calls: to the control's window once it is made, until then to the state kept
// for it.
#include "ui/win32/control_kinds.h"
#include "ui/win32/window.h"

namespace tarnwell {

ControlState& Win32Window::StateOf(ControlId id) {
  if (BoundControl* control = Bound(id)) {
    return *control;
  }
  if (auto item = menu_items_.find(id); item != menu_items_.end()) {
    return item->second;
  }
  return pending_.At(id);
}

const ControlState& Win32Window::StateOf(ControlId id) const {
  if (const BoundControl* control = Bound(id)) {
    return *control;
  }
  if (auto item = menu_items_.find(id); item != menu_items_.end()) {
    return item->second;
  }
  return pending_.At(id);
}

std::string Win32Window::Text(ControlId id) const {
  return StateOf(id).Text();
}
void Win32Window::SetText(ControlId id, std::string_view text) {
  StateOf(id).SetText(text);
}
bool Win32Window::Modified(ControlId id) const {
  return StateOf(id).Modified();
}
void Win32Window::SetModified(ControlId id, bool modified) {
  StateOf(id).SetModified(modified);
}
bool Win32Window::Enabled(ControlId id) const {
  return StateOf(id).Enabled();
}
void Win32Window::SetEnabled(ControlId id, bool enabled) {
  StateOf(id).SetEnabled(enabled);
}
FieldColour Win32Window::Colour(ControlId id) const {
  return StateOf(id).Colour();
}
void Win32Window::SetColour(ControlId id, FieldColour colour) {
  StateOf(id).SetColour(colour);
}
bool Win32Window::Checked(ControlId id) const {
  return StateOf(id).Checked();
}
void Win32Window::SetChecked(ControlId id, bool checked) {
  StateOf(id).SetChecked(checked);
}
std::vector<std::string> Win32Window::Items(ControlId id) const {
  return StateOf(id).Items();
}
void Win32Window::AddItem(ControlId id, std::string_view text) {
  StateOf(id).AddItem(text);
}
void Win32Window::DeleteItem(ControlId id, int index) {
  StateOf(id).DeleteItem(index);
}
void Win32Window::ClearItems(ControlId id) {
  StateOf(id).ClearItems();
}
int Win32Window::Selected(ControlId id) const {
  return StateOf(id).Selected();
}
void Win32Window::Select(ControlId id, int index) {
  StateOf(id).Select(index);
}
std::vector<std::string> Win32Window::Lines(ControlId id) const {
  return StateOf(id).Lines();
}
void Win32Window::AddLine(ControlId id, std::string_view line) {
  StateOf(id).AddLine(line);
}
void Win32Window::ClearLines(ControlId id) {
  StateOf(id).ClearLines();
}
void Win32Window::ShowFirstLine(ControlId id) {
  StateOf(id).ShowFirstLine();
}
}  // namespace tarnwell

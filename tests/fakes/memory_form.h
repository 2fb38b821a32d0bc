#pragma once

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/form.h"

namespace tarnwell {

// A window in memory, its controls as the layout starts them; naming another control throws.
class MemoryForm final : public Form {
 public:
  explicit MemoryForm(const WindowLayout& layout) : layout_(layout) {
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

  const WindowLayout& Layout() const { return layout_; }
  bool Closed() const { return shown_ == false; }
  bool Shown() const { return shown_ == true; }  // shown by Show and not closed since
  // Where the memo's caret stands: at the start after ShowFirstLine, at the end after AddLine.
  bool CaretAtStart(ControlId id) const { return At(id).caret_at_start; }
  // The user types into an edit field: its text changes and its changed mark is set.
  void Type(ControlId id, std::string_view text) { At(id).Edit(text, true); }

  std::string Text(ControlId id) const override { return At(id).text; }
  void SetText(ControlId id, std::string_view text) override { At(id).Edit(text, false); }
  bool Modified(ControlId id) const override { return At(id).modified; }
  void SetModified(ControlId id, bool modified) override { At(id).modified = modified; }
  bool Enabled(ControlId id) const override { return At(id).enabled; }
  void SetEnabled(ControlId id, bool enabled) override { At(id).enabled = enabled; }
  FieldColour Colour(ControlId id) const override { return At(id).colour; }
  void SetColour(ControlId id, FieldColour colour) override { At(id).colour = colour; }
  bool Checked(ControlId id) const override { return At(id).checked; }
  void SetChecked(ControlId id, bool checked) override { At(id).checked = checked; }
  std::vector<std::string> Items(ControlId id) const override { return At(id).items; }
  void AddItem(ControlId id, std::string_view text) override { At(id).items.emplace_back(text); }
  void DeleteItem(ControlId id, int index) override {
    State& list = At(id);
    if (index >= 0 && index < static_cast<int>(list.items.size())) {
      list.items.erase(list.items.begin() + index);
      // A list box loses its selection when the selected item goes.
      list.selected = list.selected == index ? -1 : list.selected - (list.selected > index);
    }
  }
  void ClearItems(ControlId id) override { At(id).Clear(); }
  int Selected(ControlId id) const override { return At(id).selected; }
  void Select(ControlId id, int index) override {
    At(id).selected = index >= 0 && index < static_cast<int>(At(id).items.size()) ? index : -1;
  }
  std::vector<std::string> Lines(ControlId id) const override { return At(id).items; }
  void AddLine(ControlId id, std::string_view line) override {
    At(id).items.emplace_back(line);
    At(id).caret_at_start = false;
  }
  void ClearLines(ControlId id) override { At(id).Clear(); }
  void ShowFirstLine(ControlId id) override { At(id).caret_at_start = true; }
  void Close() override { shown_ = false; }
  void Show() override { shown_ = true; }

 private:
  struct State {
    std::string text;
    bool modified = false;
    bool enabled = true;
    FieldColour colour = FieldColour::Window;
    bool checked = false;
    std::vector<std::string> items;  // a list's items, a memo's lines, a radio group's buttons
    int selected = -1;
    bool caret_at_start = true;

    void Edit(std::string_view new_text, bool by_user) {
      text = new_text;
      modified = by_user;
    }
    // No items, none selected, the caret at the start.
    void Clear() {
      items.clear();
      selected = -1;
      caret_at_start = true;
    }
  };
  State& At(ControlId id) {
    auto it = controls_.find(id);
    if (it == controls_.end()) {
      throw std::out_of_range("no control " + std::to_string(id) + " on " +
                              std::string(layout_.form_name));
    }
    return it->second;
  }
  const State& At(ControlId id) const { return const_cast<MemoryForm*>(this)->At(id); }

  const WindowLayout& layout_;
  std::map<ControlId, State> controls_;
  std::optional<bool> shown_;  // nothing until shown or closed
};

}  // namespace tarnwell

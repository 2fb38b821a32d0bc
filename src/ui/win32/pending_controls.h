#pragma once

#include <map>
#include <string>
#include <vector>

#include "ui/win32/control_state.h"

namespace tarnwell {

// The state of a control not made yet: its row's caption, enabled state, colour and radio
// items, then whatever the window's logic gives it. The control is made in that state.
class PendingControl final : public ControlState {
 public:
  PendingControl() = default;
  explicit PendingControl(const ControlLayout& row);

  std::string Text() const override { return text_; }
  void SetText(std::string_view text) override;
  bool Modified() const override { return modified_; }
  void SetModified(bool modified) override { modified_ = modified; }
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  FieldColour Colour() const override { return colour_; }
  void SetColour(FieldColour colour) override { colour_ = colour; }
  bool Checked() const override { return checked_; }
  void SetChecked(bool checked) override { checked_ = checked; }
  std::vector<std::string> Items() const override { return items_; }
  void AddItem(std::string_view text) override { items_.emplace_back(text); }
  void DeleteItem(int index) override;
  void ClearItems() override;
  int Selected() const override { return selected_; }
  void Select(int index) override;
  std::vector<std::string> Lines() const override { return lines_; }
  void AddLine(std::string_view line) override { lines_.emplace_back(line); }
  void ClearLines() override { lines_.clear(); }
  // A memo is made with its caret at the start anyway.
  void ShowFirstLine() override {}

 private:
  std::string text_;
  bool modified_ = false;
  bool enabled_ = true;
  FieldColour colour_ = FieldColour::Window;
  bool checked_ = false;
  std::vector<std::string> items_;  // a list box's, or a radio group's
  int selected_ = -1;
  std::vector<std::string> lines_;  // a memo's
};

// The kept state of every control of a window, by id. A control the layout lacks reads as
// empty and forgets what it is given, so that a call naming it changes nothing.
class PendingControls {
 public:
  explicit PendingControls(const WindowLayout& layout);

  PendingControl& At(ControlId id);
  const PendingControl& At(ControlId id) const;

 private:
  std::map<ControlId, PendingControl> controls_;
  PendingControl scratch_;        // written to for unknown controls, emptied on each use
  const PendingControl empty_{};  // read for unknown controls
};

}  // namespace tarnwell

#pragma once

#include <map>
#include <string>
#include <vector>

#include "ui/form.h"

namespace tarnwell {

// A window held in memory, built from its layout: every control starts with its caption,
// enabled state and colour from the table. Tests use it as the window; the Win32 window
// keeps in one the state of controls it has not created yet. What the user would do is
// offered as Type; Close and Show are remembered.
class MemoryForm final : public Form {
 public:
  // Naming a control the layout lacks throws, so that a test fails loudly.
  explicit MemoryForm(const WindowLayout& layout);

  const WindowLayout& Layout() const { return layout_; }
  bool Closed() const { return closed_; }

  // The user types into an edit field: its text changes and its changed mark is set.
  void Type(ControlId id, std::string_view text);

  std::string Text(ControlId id) const override;
  void SetText(ControlId id, std::string_view text) override;
  bool Modified(ControlId id) const override;
  void SetModified(ControlId id, bool modified) override;
  bool Enabled(ControlId id) const override;
  void SetEnabled(ControlId id, bool enabled) override;
  FieldColour Colour(ControlId id) const override;
  void SetColour(ControlId id, FieldColour colour) override;
  bool Checked(ControlId id) const override;
  void SetChecked(ControlId id, bool checked) override;
  std::vector<std::string> Items(ControlId id) const override;
  void AddItem(ControlId id, std::string_view text) override;
  void DeleteItem(ControlId id, int index) override;
  void ClearItems(ControlId id) override;
  int Selected(ControlId id) const override;
  void Select(ControlId id, int index) override;
  std::vector<std::string> Lines(ControlId id) const override;
  void AddLine(ControlId id, std::string_view line) override;
  void ClearLines(ControlId id) override;
  void ShowFirstLine(ControlId id) override;
  void Close() override {
    closed_ = true;
    shown_ = false;
  }
  void Show() override {
    closed_ = false;
    shown_ = true;
  }
  // Shown by Show and not closed since.
  bool Shown() const { return shown_; }

  // Where the memo's caret stands: 0 after ShowFirstLine, the end after lines were added.
  bool CaretAtStart(ControlId id) const;

 private:
  struct State {
    ControlKind kind = ControlKind::Label;
    std::string text;
    bool modified = false;
    bool enabled = true;
    FieldColour colour = FieldColour::Window;
    bool checked = false;
    std::vector<std::string> items;
    int selected = -1;
    bool caret_at_start = true;
  };
  State& At(ControlId id);
  const State& At(ControlId id) const;

  const WindowLayout& layout_;
  std::map<ControlId, State> controls_;
  bool closed_ = false;
  bool shown_ = false;
};

}  // namespace tarnwell

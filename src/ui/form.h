#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/layout.h"

namespace tarnwell {

// One window's controls as the program's logic sees them, addressed by id. The Win32 binding
// turns each call into window messages; tests use the in-memory form.
class Form {
 public:
  virtual ~Form() = default;

  // Caption of a label, panel, button or check box; text of an edit field. Text set by the
  // program clears an edit field's changed mark.
  virtual std::string Text(ControlId id) const = 0;
  virtual void SetText(ControlId id, std::string_view text) = 0;
  // An edit field's changed mark: set when the user types in it.
  virtual bool Modified(ControlId id) const = 0;
  virtual void SetModified(ControlId id, bool modified) = 0;

  virtual bool Enabled(ControlId id) const = 0;
  virtual void SetEnabled(ControlId id, bool enabled) = 0;
  virtual FieldColour Colour(ControlId id) const = 0;
  virtual void SetColour(ControlId id, FieldColour colour) = 0;

  virtual bool Checked(ControlId id) const = 0;
  virtual void SetChecked(ControlId id, bool checked) = 0;

  // List boxes: items in list order, the selected index (-1 for none). Radio groups: their
  // items, and the index of the checked one (-1 for none).
  virtual std::vector<std::string> Items(ControlId id) const = 0;
  virtual void AddItem(ControlId id, std::string_view text) = 0;
  virtual void DeleteItem(ControlId id, int index) = 0;
  virtual void ClearItems(ControlId id) = 0;
  virtual int Selected(ControlId id) const = 0;
  virtual void Select(ControlId id, int index) = 0;

  // Memos: their lines; ShowFirstLine puts the caret at the start and scrolls to it.
  virtual std::vector<std::string> Lines(ControlId id) const = 0;
  virtual void AddLine(ControlId id, std::string_view line) = 0;
  virtual void ClearLines(ControlId id) = 0;
  virtual void ShowFirstLine(ControlId id) = 0;

  // Closes the window; closing the main window ends the program, and a window kept for
  // later use is only hidden.
  virtual void Close() = 0;
  // Shows a window kept hidden, beside the others and not modal, and makes it active.
  virtual void Show() = 0;
};

}  // namespace tarnwell

#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/layout.h"

namespace tarnwell {

// One control's state as the window's Form calls reach it: kept in memory until the control
// is made, then in its window. The calls mean what Form's calls of the same name mean.
class ControlState {
 public:
  virtual ~ControlState() = default;

  virtual std::string Text() const = 0;
  virtual void SetText(std::string_view text) = 0;
  virtual bool Modified() const = 0;
  virtual void SetModified(bool modified) = 0;
  virtual bool Enabled() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual FieldColour Colour() const = 0;
  virtual void SetColour(FieldColour colour) = 0;
  virtual bool Checked() const = 0;
  virtual void SetChecked(bool checked) = 0;
  virtual std::vector<std::string> Items() const = 0;
  virtual void AddItem(std::string_view text) = 0;
  virtual void DeleteItem(int index) = 0;
  virtual void ClearItems() = 0;
  virtual int Selected() const = 0;
  virtual void Select(int index) = 0;
  virtual std::vector<std::string> Lines() const = 0;
  virtual void AddLine(std::string_view line) = 0;
  virtual void ClearLines() = 0;
  virtual void ShowFirstLine() = 0;
};

}  // namespace tarnwell

#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <vector>

#include "ui/win32/control_state.h"

namespace tarnwell {

// Puts a window's own system-menu items above "Close", after a separator, in their order.
void AddSystemMenuItems(HWND window, std::span<const SystemMenuItem> items);

// One item of a window's system menu as the Form's calls reach it: its caption and whether
// it can be chosen. The menu belongs to the window and goes with it.
class SystemMenuItemState final : public ControlState {
 public:
  SystemMenuItemState(HWND window, const SystemMenuItem& item)
      : window_(window), id_(item.id), caption_(item.caption) {}

  std::string Text() const override { return caption_; }
  void SetText(std::string_view) override {}
  bool Modified() const override { return false; }
  void SetModified(bool) override {}
  bool Enabled() const override;
  void SetEnabled(bool enabled) override;
  FieldColour Colour() const override { return FieldColour::Window; }
  void SetColour(FieldColour) override {}
  bool Checked() const override { return false; }
  void SetChecked(bool) override {}
  std::vector<std::string> Items() const override { return {}; }
  void AddItem(std::string_view) override {}
  void DeleteItem(int) override {}
  void ClearItems() override {}
  int Selected() const override { return -1; }
  void Select(int) override {}
  std::vector<std::string> Lines() const override { return {}; }
  void AddLine(std::string_view) override {}
  void ClearLines() override {}
  void ShowFirstLine() override {}

 private:
  HWND window_;
  ControlId id_;
  std::string caption_;
};

}  // namespace tarnwell

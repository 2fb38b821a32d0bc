#pragma once

#include <windows.h>

#include <memory>
#include <optional>

#include "ui/events.h"
#include "ui/win32/control_state.h"
#include "ui/win32/pending_controls.h"

namespace tarnwell {

class ShellNamespace;

inline constexpr char kPageClass[] = "TarnwellPage";

// How a control that is one standard window is made: its window class and styles, and the
// message that gives it a picture.
struct ControlClass {
  const char* name;
  DWORD style;
  DWORD ex_style;
  UINT picture_message;
};
ControlClass ClassOf(const ControlLayout& row);

// The event a WM_COMMAND notification `code` from a control of this kind stands for, if any.
std::optional<Event> CommandEvent(ControlKind kind, WORD code);

// A control the window has made, reached through its window's messages. A kind that
// differs from the others in what it is made of or how it answers is a class of its own
// (made by MakeControl); a control of any other kind is a plain BoundControl.
class BoundControl : public ControlState {
 public:
  // `colour` is the one the window's logic has given it so far.
  BoundControl(HWND window, FieldColour colour) : window_(window), colour_(colour) {}
  BoundControl(const BoundControl&) = delete;
  BoundControl& operator=(const BoundControl&) = delete;

  HWND Handle() const { return window_; }

  std::string Text() const override;
  void SetText(std::string_view text) override;
  bool Modified() const override;
  void SetModified(bool modified) override;
  bool Enabled() const override;
  void SetEnabled(bool enabled) override;
  FieldColour Colour() const override { return colour_; }
  void SetColour(FieldColour colour) override;
  bool Checked() const override;
  void SetChecked(bool checked) override;
  std::vector<std::string> Items() const override;
  void AddItem(std::string_view text) override;
  void DeleteItem(int index) override;
  void ClearItems() override;
  int Selected() const override;
  void Select(int index) override;
  // Only a memo has lines.
  std::vector<std::string> Lines() const override { return {}; }
  void AddLine(std::string_view) override {}
  void ClearLines() override {}
  void ShowFirstLine() override;

  // Whether the window paints it in its colour: edit fields only.
  virtual bool PaintsColour() const { return false; }
  // Whether it leaves a dialog group open that the next control made must end.
  virtual bool LeavesGroupOpen() const { return false; }
  // Its window has been moved to `place` (left, top, width, height): what stands beside it
  // moves along.
  virtual void Moved(const RECT& /*place*/) {}

  // A WM_NOTIFY that the control answers itself, and the event it raises, if any.
  struct Notified {
    LRESULT result = 0;
    std::optional<Event> event;
  };
  // Nothing when the window handles the notification.
  virtual std::optional<Notified> OnNotify(const NMHDR& /*header*/) { return std::nullopt; }

 private:
  HWND window_;
  FieldColour colour_;
};

// What a control is made with.
struct NewControl {
  HINSTANCE instance = nullptr;
  HWND parent = nullptr;
  RECT place{};  // left, top, width and height in the parent, scaled
  HFONT font = nullptr;
  bool starts_group = false;        // it ends the dialog group the control before left open
  ShellNamespace* shell = nullptr;  // for a shell tree
};

// Makes the control of `row` in the state the window's logic has given it so far. Nothing
// for a shell tree in a window without a shell namespace.
std::unique_ptr<BoundControl> MakeControl(const ControlLayout& row, const PendingControl& state,
                                          NewControl made);

}  // namespace tarnwell

#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/dialogs.h"
#include "ui/events.h"
#include "ui/form.h"
#include "ui/win32/handles.h"
#include "ui/win32/pending_controls.h"
#include "ui/win32/pictures.h"
#include "ui/win32/system_menu.h"

namespace tarnwell {

class BoundControl;
class ShellNamespace;

// A window built from its layout table: the controls, their fonts, colours, hints and
// pictures, scaled from 96 DPI to the system DPI. It turns control notifications into
// events for its sink and Form calls into window messages; it decides nothing itself.
//
// Like a property sheet, it creates the controls of a page when the page is first shown;
// until then their state is kept in memory and given to them when they are made.
class Win32Window final : public Form {
 public:
  struct Options {
    HINSTANCE instance = nullptr;
    HWND owner = nullptr;
    PictureSource* pictures = nullptr;
    bool ends_program = false;        // closing it ends the message loop
    bool kept = false;                // closing it only hides it, for the next Show
    ShellNamespace* shell = nullptr;  // for shell trees; a window without one has none
  };

  Win32Window(const WindowLayout& layout, const Options& options);
  ~Win32Window() override;
  Win32Window(const Win32Window&) = delete;
  Win32Window& operator=(const Win32Window&) = delete;

  HWND Handle() const { return window_; }
  HWND Control(ControlId id) const;
  HWND Hints() const { return tooltips_; }
  const WindowLayout& Layout() const { return layout_; }
  int Dpi() const { return dpi_; }
  int Scale(int pixels) const { return MulDiv(pixels, dpi_, 96); }

  // Events of the window's controls go to `sink`; errors they raise to `dialogs`.
  void Connect(EventSink* sink, Dialogs* dialogs);
  void ShowCentred();
  // Shows the window over its disabled owner until it closes.
  void RunModal();
  // Shows the page with this id and hides the others, creating its controls if need be.
  void ShowPage(ControlId page);

  // The program's message loop; returns the exit code.
  static int RunMessageLoop(HWND main_window);

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
  void Close() override;
  void Show() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK PageProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

  // The fonts at the system DPI, and the brush of silver fields.
  void CreateFonts();
  void CreateControls();
  void CreateControl(const ControlLayout& row);
  // The page a control stands on, or kNoControl for the window's own controls.
  ControlId PageOf(const ControlLayout& row) const;
  void CreatePageControls(ControlId page);
  RECT PlaceOf(const ControlLayout& row, HWND& parent) const;
  void AddHint(HWND control, std::string_view hint);
  LRESULT ColourOf(HWND control, HDC dc);
  void OnCommand(WPARAM wparam, LPARAM lparam);
  void Raise(ControlId id, Event event);
  // A command of the window's own system-menu items: a click on the item. False for
  // any other command, which Windows carries out.
  bool OnSystemCommand(WPARAM wparam);
  // The control made for this id, or nothing when it is not made yet.
  BoundControl* Bound(ControlId id) const;
  // Where the Form's calls for this control go: its window, or the state kept for it.
  ControlState& StateOf(ControlId id);
  const ControlState& StateOf(ControlId id) const;
  // The outer size that gives the layout's client size.
  SIZE DesignedFrame() const;
  void ArrangeControls();

  const WindowLayout& layout_;
  Options options_;
  int dpi_ = 96;
  HWND window_ = nullptr;
  HWND tooltips_ = nullptr;
  UniqueFont font_;
  UniqueFont bold_font_;
  UniqueBrush silver_brush_;
  std::vector<UniqueBitmap> bitmaps_;
  std::map<ControlId, std::unique_ptr<BoundControl>> controls_;
  std::map<ControlId, SystemMenuItemState> menu_items_;
  bool after_open_group_ = false;  // the next control made ends a dialog group
  PendingControls pending_;        // the state of controls not created yet
  HWND shown_from_ = nullptr;      // the active window when a kept window was shown
  EventSink* sink_ = nullptr;
  Dialogs* dialogs_ = nullptr;
};

}  // namespace tarnwell

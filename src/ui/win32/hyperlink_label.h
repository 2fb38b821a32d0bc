#pragma once

#include <windows.h>

#include "ui/win32/handles.h"

namespace tarnwell {

// A label that behaves as a hyperlink: its caption blue and underlined under a pointing-hand
// cursor, red while the pointer is over it or a button is held down on it, navy once it has
// been followed. A press and release on it tells the parent with WM_COMMAND and STN_CLICKED,
// as a notifying static control does; what the link opens is the parent's affair. A release
// elsewhere only restores its colour.
class HyperlinkLabel {
 public:
  static constexpr char kClassName[] = "TarnwellLink";
  // Answers the colour the caption is drawn in now, for tests that look at it from outside.
  static constexpr UINT kGetColour = WM_APP + 1;

  static constexpr COLORREF kLinkColour = RGB(0, 0, 0xFF);
  static constexpr COLORREF kHotColour = RGB(0xFF, 0, 0);
  static constexpr COLORREF kFollowedColour = RGB(0, 0, 0x80);

  // `place` holds the control's left and top in `parent` and, in right and bottom, its
  // width and height, already scaled. `font` is the parent's; the link underlines a copy.
  HyperlinkLabel(HINSTANCE instance, HWND parent, int control_id, const RECT& place, HFONT font,
                 const char* caption);
  HyperlinkLabel(const HyperlinkLabel&) = delete;
  HyperlinkLabel& operator=(const HyperlinkLabel&) = delete;

  HWND Handle() const { return label_.get(); }
  COLORREF Colour() const;

 private:
  static LRESULT CALLBACK LabelProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void Paint(HWND window);
  bool Inside(HWND window, LPARAM at) const;
  void SetHot(HWND window, bool hot);

  UniqueFont font_;
  bool hot_ = false;       // the pointer is over it, or a button went down on it
  bool pressed_ = false;   // a button went down on it and is still held
  bool followed_ = false;  // it has been opened once
  UniqueWindow label_;     // last: destroyed first, while the font is still here
};

}  // namespace tarnwell

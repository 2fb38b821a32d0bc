#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/layout.h"

namespace tarnwell {

// The radio buttons of a radio group: siblings after the group's frame, all with the
// group's id, so that a click on any of them is the group's. The first starts a dialog
// group (the window ends it with the next control it makes), so that the arrow keys move
// among them.
class RadioItems {
 public:
  // `group` is the frame's place in the parent, left, top, width and height.
  RadioItems(HINSTANCE instance, HWND parent, int control_id, const RECT& group, HFONT font,
             const std::vector<std::string>& captions, bool enabled);

  std::vector<std::string> Captions() const;
  // The checked item, or -1.
  int Checked() const;
  // Checks item `index`, or none when it is out of range. A radio button takes the tab stop
  // when checked and loses it when not; with none checked the first keeps it, so that the
  // group can still be reached from the keyboard.
  void Check(int index);
  void Enable(bool enabled);
  // Places the items in the frame's new place.
  void Place(const RECT& group);

 private:
  std::vector<HWND> buttons_;  // children of the parent window, destroyed with it
};

}  // namespace tarnwell

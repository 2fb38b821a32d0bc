#include "ui/win32/radio_items.h"

#include "ui/win32/handles.h"

namespace tarnwell {
namespace {

RECT ItemPlace(const RECT& group, std::size_t index, std::size_t count) {
  const LayoutRect place = RadioItemRect({group.left, group.top, group.right, group.bottom},
                                         static_cast<int>(index), static_cast<int>(count));
  return RECT{place.left, place.top, place.width, place.height};
}

}  // namespace

RadioItems::RadioItems(HINSTANCE instance, HWND parent, int control_id, const RECT& group,
                       HFONT font, const std::vector<std::string>& captions, bool enabled) {
  for (std::size_t index = 0; index < captions.size(); ++index) {
    const RECT place = ItemPlace(group, index, captions.size());
    const DWORD style = WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON |
                        (index == 0 ? WS_GROUP | WS_TABSTOP : 0) | (enabled ? 0 : WS_DISABLED);
    HWND button = CreateWindowExA(0, "BUTTON", captions[index].c_str(), style, place.left,
                                  place.top, place.right, place.bottom, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(control_id)),
                                  instance, nullptr);
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    buttons_.push_back(button);
  }
}

std::vector<std::string> RadioItems::Captions() const {
  std::vector<std::string> captions;
  for (HWND button : buttons_) {
    captions.push_back(TextOf(button));
  }
  return captions;
}

int RadioItems::Checked() const {
  for (std::size_t index = 0; index < buttons_.size(); ++index) {
    if (SendMessageA(buttons_[index], BM_GETCHECK, 0, 0) == BST_CHECKED) {
      return static_cast<int>(index);
    }
  }
  return -1;
}

void RadioItems::Check(int index) {
  for (std::size_t item = 0; item < buttons_.size(); ++item) {
    SendMessageA(buttons_[item], BM_SETCHECK,
                 static_cast<int>(item) == index ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  if ((index < 0 || static_cast<std::size_t>(index) >= buttons_.size()) && !buttons_.empty()) {
    SetWindowLongA(buttons_.front(), GWL_STYLE,
                   GetWindowLongA(buttons_.front(), GWL_STYLE) | WS_TABSTOP);
  }
}

void RadioItems::Enable(bool enabled) {
  for (HWND button : buttons_) {
    EnableWindow(button, enabled ? TRUE : FALSE);
  }
}

void RadioItems::Place(const RECT& group) {
  for (std::size_t index = 0; index < buttons_.size(); ++index) {
    const RECT place = ItemPlace(group, index, buttons_.size());
    SetWindowPos(buttons_[index], nullptr, place.left, place.top, place.right, place.bottom,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

}  // namespace tarnwell

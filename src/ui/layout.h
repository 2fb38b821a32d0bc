#pragma once

#include <span>
#include <string_view>

namespace tarnwell {

// Controls are addressed by id; each window numbers its controls in a range of its own.
using ControlId = int;
inline constexpr ControlId kNoControl = 0;

enum class ControlKind {
  Label,
  Panel,
  PageControl,
  Page,
  Button,
  PictureButton,
  CheckBox,
  Edit,
  ListBox,
  Memo,  // multi-line, read-only, vertical scroll bar
  GroupBox,
  Picture,
  ShellTree,  // the shell's folders; its text is the selected folder's path, or empty
  // A group box of radio buttons, one per item; its selection is the checked item, or -1.
  RadioGroup,
  Link,  // a label that behaves as a hyperlink: clicked when pressed and released on it
};

enum class FieldColour { Window, Silver };  // the system window colour, or RGB C0C0C0

// The edges of the window's client area that a control keeps its distance to when a sizeable
// window is resized: anchored left and right it grows with the width, right alone it moves.
enum Anchor : unsigned {
  kAnchorLeft = 1,
  kAnchorTop = 2,
  kAnchorRight = 4,
  kAnchorBottom = 8,
};
inline constexpr unsigned kAnchorAll = kAnchorLeft | kAnchorTop | kAnchorRight | kAnchorBottom;

// Left, top, width, height in 96-DPI pixels, relative to the parent's client area. A label
// without a size takes the size of its caption; a page fills its page control.
struct LayoutRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const LayoutRect&) const = default;
};

struct ControlLayout {
  ControlId id = kNoControl;
  std::string_view name;
  ControlKind kind = ControlKind::Label;
  ControlId parent = kNoControl;  // a page or a group box; kNoControl for the window
  LayoutRect rect;
  std::string_view caption;
  std::string_view hint;
  std::string_view picture;                 // the name of the program's picture it shows, if any
  std::span<const std::string_view> items;  // a radio group's items, top to bottom
  unsigned anchors = kAnchorLeft | kAnchorTop;
  bool bold = false;
  bool wrap = false;
  bool centred = false;
  bool enabled = true;
  FieldColour colour = FieldColour::Window;

  constexpr ControlLayout Bold() const { return With(&ControlLayout::bold, true); }
  constexpr ControlLayout Wrapped() const { return With(&ControlLayout::wrap, true); }
  constexpr ControlLayout Centred() const { return With(&ControlLayout::centred, true); }
  constexpr ControlLayout Disabled() const { return With(&ControlLayout::enabled, false); }
  constexpr ControlLayout Silver() const {
    ControlLayout copy = *this;
    copy.colour = FieldColour::Silver;
    return copy;
  }
  constexpr ControlLayout Hint(std::string_view text) const {
    ControlLayout copy = *this;
    copy.hint = text;
    return copy;
  }
  constexpr ControlLayout Picture(std::string_view name) const {
    ControlLayout copy = *this;
    copy.picture = name;
    return copy;
  }
  constexpr ControlLayout Items(std::span<const std::string_view> texts) const {
    ControlLayout copy = *this;
    copy.items = texts;
    return copy;
  }
  constexpr ControlLayout Anchored(unsigned edges) const {
    ControlLayout copy = *this;
    copy.anchors = edges;
    return copy;
  }
  // Takes keyboard focus, and so a place in the tab order.
  constexpr bool Focusable() const {
    return kind != ControlKind::Label && kind != ControlKind::Panel &&
           kind != ControlKind::Picture && kind != ControlKind::Page &&
           kind != ControlKind::GroupBox && kind != ControlKind::Link;
  }

 private:
  constexpr ControlLayout With(bool ControlLayout::*field, bool value) const {
    ControlLayout copy = *this;
    copy.*field = value;
    return copy;
  }
};

enum class WindowBorder { FixedSingle, Sizeable };

// An item a window adds to its system menu, above "Close" after a separator. Choosing it is
// a click on it; it can be disabled like a control. Windows keeps the low four bits of a
// system-menu command for itself, so the id is a multiple of 16 (below 0xF000).
struct SystemMenuItem {
  ControlId id = kNoControl;
  std::string_view caption;
};
constexpr bool IsSystemMenuId(ControlId id) {
  return id > 0 && id < 0xF000 && id % 16 == 0;
}

// One window: its form name, caption, client size and controls. The controls stand in
// creation order, which is also the tab order; a parent stands before its children.
struct WindowLayout {
  std::string_view form_name;
  std::string_view caption;
  int client_width = 0;
  int client_height = 0;
  WindowBorder border = WindowBorder::FixedSingle;
  std::span<const ControlLayout> controls;
  std::span<const SystemMenuItem> system_menu = {};

  const ControlLayout* Find(ControlId id) const;
  const ControlLayout* Find(std::string_view name) const;
};

// Where a control stands once its window has grown by `grown_width` and `grown_height`: it
// keeps its distance to the edges it is anchored to, stretching between opposite ones.
LayoutRect AnchoredRect(LayoutRect designed, unsigned anchors, int grown_width, int grown_height);
// The place of a radio group's item `index` of `count`, below the group's caption, relative
// to the group's parent.
LayoutRect RadioItemRect(LayoutRect group, int index, int count);

// Row builders, so that a layout table reads as one line per control.
constexpr ControlLayout Control(ControlId id, std::string_view name, ControlKind kind,
                                ControlId parent, LayoutRect rect, std::string_view caption = {}) {
  ControlLayout row;
  row.id = id;
  row.name = name;
  row.kind = kind;
  row.parent = parent;
  row.rect = rect;
  row.caption = caption;
  return row;
}

}  // namespace tarnwell

#include "ui/layout.h"

#include <algorithm>

namespace tarnwell {

const ControlLayout* WindowLayout::Find(ControlId id) const {
  auto it = std::find_if(controls.begin(), controls.end(),
                         [id](const ControlLayout& row) { return row.id == id; });
  return it == controls.end() ? nullptr : &*it;
}

const ControlLayout* WindowLayout::Find(std::string_view name) const {
  auto it = std::find_if(controls.begin(), controls.end(),
                         [name](const ControlLayout& row) { return row.name == name; });
  return it == controls.end() ? nullptr : &*it;
}

namespace {

// Where a control's near edge and its length go along one axis.
struct Span {
  int start;
  int length;
};

Span Anchored(Span designed, bool near, bool far, int grown) {
  if (near && far) {
    return {designed.start, designed.length + grown};
  }
  if (far) {
    return {designed.start + grown, designed.length};
  }
  return designed;
}

}  // namespace

LayoutRect AnchoredRect(LayoutRect designed, unsigned anchors, int grown_width, int grown_height) {
  const Span across = Anchored({designed.left, designed.width}, (anchors & kAnchorLeft) != 0,
                               (anchors & kAnchorRight) != 0, grown_width);
  const Span down = Anchored({designed.top, designed.height}, (anchors & kAnchorTop) != 0,
                             (anchors & kAnchorBottom) != 0, grown_height);
  return {across.start, down.start, across.length, down.length};
}

// The items share the group's height below its caption evenly, inset from its frame.
LayoutRect RadioItemRect(LayoutRect group, int index, int count) {
  constexpr int kCaption = 16;
  constexpr int kInset = 8;
  constexpr int kBottom = 4;
  const int room = group.height - kCaption - kBottom;
  const int top = group.top + kCaption + room * index / count;
  const int next = group.top + kCaption + room * (index + 1) / count;
  return {group.left + kInset, top, group.width - 2 * kInset, next - top};
}

}  // namespace tarnwell

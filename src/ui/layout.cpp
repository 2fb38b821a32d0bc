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

}  // namespace tarnwell

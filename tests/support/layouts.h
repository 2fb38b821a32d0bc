#pragma once

#include <array>
#include <string>

#include "ui/about_layout.h"
#include "ui/addins_layout.h"
#include "ui/descriptions_layout.h"
#include "ui/folder_picker_layout.h"
#include "ui/main_layout.h"
#include "ui/places_layout.h"

namespace tarnwell {

inline std::array<const WindowLayout*, 7> EveryLayout() {
  return {&MainWindowLayout(),         &AboutWindowLayout(),  &AddinsWindowLayout(),
          &DescriptionsWindowLayout(), &FolderPickerLayout(), &PlacesWindowLayout(),
          &LocationEntryLayout()};
}

struct LayoutName {
  template <typename Info>
  std::string operator()(const Info& info) const {
    return std::string(info.param->form_name);
  }
};

}  // namespace tarnwell

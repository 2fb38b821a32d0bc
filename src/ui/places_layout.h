#pragma once

#include "ui/layout.h"

namespace tarnwell {

// The controls of the custom save locations window, Form5.
namespace form5 {
enum : ControlId {
  Label1 = 5000,
  lbLocations,
  btnAdd,
  btnRemove,
  btnClose,
};
}  // namespace form5

// The controls of the custom location entry window, Form6.
namespace form6 {
enum : ControlId {
  Label1 = 6000,
  edLocName,
  Label2,
  edLocPath,
  btnBrowse,
  btnAddToList,
  btnCancel,
};
}  // namespace form6

const WindowLayout& PlacesWindowLayout();
const WindowLayout& LocationEntryLayout();

}  // namespace tarnwell

#pragma once

#include "ui/layout.h"

namespace tarnwell {

// The controls of the add-in status window, Form7.
namespace form7 {
enum : ControlId {
  lblAddinList = 7000,
  lbAddins,
  lblAddinDesc,
  memoAddinDesc,
  rgLoadBehavior,
  lblLoadDesc,
  memoLoadDesc,
  btnClose,
};
}  // namespace form7

const WindowLayout& AddinsWindowLayout();

}  // namespace tarnwell

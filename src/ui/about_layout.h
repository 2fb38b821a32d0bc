#pragma once

#include "ui/layout.h"

namespace tarnwell {

// The controls of the About window, TForm2.
namespace tform2 {
enum : ControlId {
  Image1 = 2000,
  lblProduct,
  lblVersion,
  lblAuthor,
  lblBuiltWith,
  lblTrademark,
  lblVersions,
  lblEmail,
  OHUrlLabel1,
  btnClose,
};
}  // namespace tform2

const WindowLayout& AboutWindowLayout();

}  // namespace tarnwell

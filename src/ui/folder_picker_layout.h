#pragma once

#include "ui/layout.h"

namespace tarnwell {

// The controls of the folder picker, TForm4.
namespace tform4 {
enum : ControlId {
  Label3 = 4000,
  JamShellTree1,
  btnCancel,
};
}  // namespace tform4

const WindowLayout& FolderPickerLayout();

}  // namespace tarnwell

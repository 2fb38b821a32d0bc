#pragma once

#include "ui/layout.h"

namespace tarnwell {

// The controls of the attachment descriptions window, Form3.
namespace form3 {
enum : ControlId {
  Label1 = 3000,
  Label2,
  Label3,
  Memo1,
  Button1,
};
}  // namespace form3

const WindowLayout& DescriptionsWindowLayout();

}  // namespace tarnwell

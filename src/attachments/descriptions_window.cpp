#include "attachments/descriptions_window.h"

#include "attachments/extension_catalogue.h"
#include "ui/descriptions_layout.h"

namespace tarnwell {

DescriptionsWindow::DescriptionsWindow(Form& form) : form_(form) {
  for (const auto& line : AttachmentDescriptionLines()) {
    form_.AddLine(form3::Memo1, line);
  }
  form_.ShowFirstLine(form3::Memo1);
}

void DescriptionsWindow::OnEvent(ControlId id, Event event) {
  if (id == form3::Button1 && event == Event::Click) {
    form_.Close();
  }
}

}  // namespace tarnwell

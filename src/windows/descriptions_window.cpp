#include "windows/descriptions_window.h"

#include <array>

#include "attachments/extension_catalogue.h"
#include "ui/descriptions_layout.h"

namespace tarnwell {
namespace {

constexpr auto kEvents = std::to_array<EventRow<DescriptionsWindow>>({
    {form3::Button1, Event::Click, &DescriptionsWindow::Button1Click},
});

}  // namespace

DescriptionsWindow::DescriptionsWindow(Form& form) : form_(form) {
  for (const auto& line : AttachmentDescriptionLines()) {
    form_.AddLine(form3::Memo1, line);
  }
  form_.ShowFirstLine(form3::Memo1);
}

void DescriptionsWindow::OnEvent(ControlId id, Event event) {
  Route<DescriptionsWindow>(*this, kEvents, id, event);
}

void DescriptionsWindow::Button1Click() {
  form_.Close();
}

}  // namespace tarnwell

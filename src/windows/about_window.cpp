#include "windows/about_window.h"

#include <array>
#include <string>

#include "ui/about_layout.h"

namespace tarnwell {
namespace {

constexpr auto kEvents = std::to_array<EventRow<AboutWindow>>({
    {tform2::OHUrlLabel1, Event::Click, &AboutWindow::OHUrlLabel1Click},
    {tform2::btnClose, Event::Click, &AboutWindow::btnCloseClick},
});

}  // namespace

void AboutWindow::OnEvent(ControlId id, Event event) {
  Route<AboutWindow>(*this, kEvents, id, event);
}

// A link without an address opens what it shows; a failing shell call is not reported.
void AboutWindow::OHUrlLabel1Click() {
  const std::string target =
      kMailUrl.empty() ? form_.Text(tform2::OHUrlLabel1) : std::string(kMailUrl);
  services_.shell.Execute("open", target, {}, {}, kShow);
}

void AboutWindow::btnCloseClick() {
  form_.Close();
}

}  // namespace tarnwell

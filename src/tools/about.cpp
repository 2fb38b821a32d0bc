#include "tools/about.h"

#include <string>

#include "ui/about_layout.h"

namespace tarnwell {
namespace {

constexpr std::string_view kHelpMissing =
    "The help file (tarnwell-help.pdf) cannot be found.  It should be located where the "
    "application is installed.";

}  // namespace

void AboutWindow::OnEvent(ControlId id, Event event) {
  if (event != Event::Click) {
    return;
  }
  switch (id) {
    case tform2::OHUrlLabel1:
      return OHUrlLabel1Click();
    case tform2::btnClose:
      return btnCloseClick();
    default:
      return;
  }
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

void OpenHelpFile(const Services& services) {
  const std::string path = services.file_system.ProgramFolder() + std::string(kHelpFileName);
  if (services.file_system.FileExists(path)) {
    services.shell.Execute("open", path, {}, {}, kShowNormal);
  } else {
    services.dialogs.Message(MessageKind::Warning, kHelpMissing);
  }
}

}  // namespace tarnwell

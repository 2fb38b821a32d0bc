#include "tools/help_file.h"

#include <string>

namespace tarnwell {
namespace {

constexpr std::string_view kHelpMissing =
    "The help file (tarnwell-help.pdf) cannot be found.  It should be located where the "
    "application is installed.";

}  // namespace

void OpenHelpFile(const Services& services) {
  const std::string path = services.file_system.ProgramFolder() + std::string(kHelpFileName);
  if (services.file_system.FileExists(path)) {
    services.shell.Execute("open", path, {}, {}, kShowNormal);
  } else {
    services.dialogs.Message(MessageKind::Warning, kHelpMissing);
  }
}

}  // namespace tarnwell

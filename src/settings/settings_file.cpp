#include "settings/settings_file.h"

#include <algorithm>
#include <string>
#include <variant>

#include "settings/save_plan.h"
#include "version.h"

namespace tarnwell {
namespace {

constexpr std::string_view kRegistryFilter = "Registry Files (*.reg)|*.reg";
constexpr std::string_view kRegExtension = ".reg";
constexpr std::string_view kExportTitle = "Export settings for other PCs";
constexpr std::string_view kExportedStart = "The settings were exported to ";
constexpr std::string_view kNotExportedStart = "The settings could not be written to ";

// The per-user keys of the plan, each once, in the order they are first written.
std::vector<RegFileKey> PerUserValues(const std::vector<SaveStep>& plan) {
  std::vector<RegFileKey> keys;
  for (const SaveStep& step : plan) {
    const auto* planned = std::get_if<SaveKeyPlan>(&step);
    if (planned == nullptr || planned->root != Root::CurrentUser) {
      continue;
    }
    auto key = std::find_if(keys.begin(), keys.end(), [&](const RegFileKey& known) {
      return SameKeyName(known.path, planned->path);
    });
    if (key == keys.end()) {
      key = keys.insert(keys.end(), RegFileKey{Root::CurrentUser, planned->path, {}});
    }
    for (const auto& inner : planned->steps) {
      if (const auto* value = std::get_if<RegFileValue>(&inner)) {
        key->values.push_back(*value);
      }
    }
  }
  return keys;
}

std::string ExportComment(const OutlookVersionInfo& outlook) {
  return "Tarnwell " TARNWELL_VERSION_TEXT ", settings of " + outlook.DisplayText() +
         " for other PCs\n"
         "Folder paths are as typed here: they were not checked, and must exist on the PC "
         "that imports this file.\n"
         "Machine-wide values (HKEY_LOCAL_MACHINE) are left out.\n"
         "To import: reg import <this file>, then restart Outlook";
}

}  // namespace

void ExportSettings(const Form& form, const Services& services, const AppState& state) {
  const std::string name =
      "Tarnwell-settings-" + VersionNumber(state.OutlookVersion.MajorVersion) + ".reg";
  FileDialogOptions options;
  options.title = kExportTitle;
  options.file_name = name;
  options.default_extension = kRegExtension;
  options.filter = kRegistryFilter;
  const std::optional<std::string> path = services.dialogs.SaveFile(options);
  if (!path) {
    return;
  }
  const std::vector<RegFileKey> keys =
      PerUserValues(PlanSave(form, services, state, SaveFor::OtherPc));
  if (!services.file_system.WriteWholeFile(
          *path, WriteRegFile(keys, ExportComment(state.OutlookVersion)))) {
    services.dialogs.Message(MessageKind::Error, std::string(kNotExportedStart) + *path + ".");
    return;
  }
  services.dialogs.Message(MessageKind::Information, std::string(kExportedStart) + *path + ".");
}

}  // namespace tarnwell

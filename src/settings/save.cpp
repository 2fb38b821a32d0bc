#include "settings/save.h"

#include <string>
#include <variant>

#include "settings/backup.h"
#include "settings/save_plan.h"
#include "settings/settings_catalogue.h"
#include "ui/main_layout.h"

namespace tarnwell {
namespace {

using namespace tform1;

constexpr std::string_view kConfirmSave = "Are you sure you want to make these changes?";
constexpr std::string_view kNoBackupStart =
    "Tarnwell could not write a backup of the current settings to ";
constexpr std::string_view kNoBackupEnd = ". Save without a backup?";
constexpr std::string_view kRestartOutlook =
    "You must restart Outlook for these changes to take effect.";

// Carries out the plan in its order; a key that cannot be opened is passed over with
// everything planned in it.
void Carry(const Services& services, const std::vector<SaveStep>& plan) {
  const auto say = [&services](const SaveNotice& notice) {
    services.dialogs.Message(notice.kind, notice.text);
  };
  for (const SaveStep& step : plan) {
    if (const auto* notice = std::get_if<SaveNotice>(&step)) {
      say(*notice);
      continue;
    }
    const auto& planned = std::get<SaveKeyPlan>(step);
    RegKey key;
    if (key.Create(services.registry, planned.root, planned.path, planned.rights, planned.view) !=
        kSuccess) {
      continue;
    }
    for (const auto& inner : planned.steps) {
      if (const auto* notice = std::get_if<SaveNotice>(&inner)) {
        say(*notice);
      } else if (const auto& value = std::get<RegFileValue>(inner); value.value) {
        (void)key.Set(value.name, value.value->type, value.value->data);
      }
    }
  }
}

struct TickWarning {
  ControlId box;
  std::string_view text;
};

constexpr TickWarning kTickWarnings[] = {
    {cbSaveMIME,
     "Enabling this feature will significantly increase the storage requirements for all "
     "emails received in your .PST file.\r\n\r\nThis is not recommended for users with large "
     ".PST files close to the 2GB size limit."},
    {cbDumpster,
     "Enabling this feature will allow you to recover email from a Microsoft Exchange server by "
     "adding a [Recover Deleted Items] option to the Tools menu.\r\n\r\nThis feature is "
     "dependent on the Exchange server and the mail retention settings."},
};

}  // namespace

bool BackUpOrAsk(const Services& services, const OutlookVersionInfo& outlook) {
  if (WriteBackup(services, outlook)) {
    return true;
  }
  std::string folder = BackupFolder(services.file_system);
  folder.pop_back();  // named without its trailing backslash
  const std::string question = std::string(kNoBackupStart) + folder + std::string(kNoBackupEnd);
  return services.dialogs.Message(MessageKind::ConfirmationDefaultNo, question) == Answer::Yes;
}

bool SaveSettings(Form& form, const Services& services, const AppState& state) {
  if (services.dialogs.Message(MessageKind::Confirmation, kConfirmSave) != Answer::Yes) {
    return false;
  }
  if (!BackUpOrAsk(services, state.OutlookVersion)) {
    return false;
  }
  Carry(services, PlanSave(form, services, state, SaveFor::ThisPc));
  services.dialogs.Message(MessageKind::Information, kRestartOutlook);
  return true;
}

void WriteLevel1Remove(Registry& registry, OfficeVersion version,
                       const std::vector<std::string>& allowed, std::string_view loaded) {
  const std::optional<std::string> text = Level1RemoveToWrite(allowed, loaded);
  if (!text) {
    return;
  }
  const SettingRow& row = CatalogueRow(Setting::Level1Remove);
  RegKey key;
  if (key.Create(registry, row.root, SettingKeyPath(row.key, version), Rights::Write,
                 RegistryView::NativeView) == kSuccess) {
    (void)key.SetString(row.name, *text);
  }
}

void WarnWhenTicked(Form& form, Dialogs& dialogs, const AppState& state, ControlId box) {
  if (!state.LoadComplete || !form.Checked(box)) {
    return;
  }
  for (const auto& warning : kTickWarnings) {
    if (warning.box == box) {
      dialogs.Message(MessageKind::Warning, warning.text);
    }
  }
}

}  // namespace tarnwell

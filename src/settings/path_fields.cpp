#include "settings/path_fields.h"

#include "platform/registry_object.h"
#include "settings/folder_picker.h"
#include "settings/settings_catalogue.h"
#include "ui/main_layout.h"

namespace tarnwell {
namespace {

using namespace tform1;

constexpr std::string_view kAttachmentPathEmpty =
    "The attachment default path field is empty. A possible reason is that you have not yet "
    "opened an attachment in Outlook to create this temporary folder.";
constexpr std::string_view kAttachmentPathMissing = "The attachment default path does not exist.";

}  // namespace

void BrowseForField(Form& form, Dialogs& dialogs, AppState& state, ControlId field, int target) {
  state.BrowseCount = 0;
  state.BrowseTarget = target;
  ShowFolderPicker(dialogs, state);
  if (state.BrowseCount >= 1) {
    form.SetModified(field, true);
  }
}

void RevertAttachmentPath(Form& form, Registry& registry, AppState& state) {
  const std::string key =
      SettingKeyPath(SettingKey::OutlookSecurity, state.OutlookVersion.MajorVersion);
  const std::string_view value = CatalogueRow(Setting::OutlookSecureOldTempFolder).name;
  if (state.Use32BitReadPath) {
    RegistryObject object(registry);
    object.SetRootKey(Root::CurrentUser);
    if (object.OpenKeyForRead("\\" + key)) {
      const std::string previous = object.ReadString(value);
      state.Loaded.OutlookSecureOldTempFolder = previous;
      form.SetText(edAttachmentPath, previous);
      object.CloseKey();
    }
  } else {
    RegKey security;
    std::optional<std::string> previous;
    if (security.Open(registry, Root::CurrentUser, key, Rights::Read, RegistryView::View64) ==
            kSuccess &&
        (previous = security.ReadText(value, kShortTextCapacity))) {
      state.Loaded.OutlookSecureOldTempFolder = *previous;
      form.SetText(edAttachmentPath, state.Loaded.OutlookSecureOldTempFolder);
    }
  }
  form.SetEnabled(btnRevert, false);
}

void ViewAttachmentFolder(const Form& form, const Services& services) {
  const std::string path = form.Text(edAttachmentPath);
  if (path.empty()) {
    services.dialogs.Message(MessageKind::Warning, kAttachmentPathEmpty);
    return;
  }
  if (!services.file_system.FolderExists(path)) {
    services.dialogs.Message(MessageKind::Warning, kAttachmentPathMissing);
    return;
  }
  services.shell.Execute("explore", path, {}, {}, kShowNormal);
}

}  // namespace tarnwell

#include "settings/revert.h"

#include "platform/registry_object.h"
#include "settings/settings_catalogue.h"
#include "ui/main_layout.h"

namespace tarnwell {
namespace {

using namespace tform1;

}  // namespace

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

}  // namespace tarnwell

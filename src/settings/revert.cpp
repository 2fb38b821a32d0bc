#include "settings/revert.h"

#include "platform/registry_object.h"
#include "settings/settings_catalogue.h"
#include "ui/main_layout.h"

namespace tarnwell {
namespace {

using namespace tform1;

// The 64-bit view's query holds 256 characters and the NUL.
constexpr std::size_t kPathCapacity = 257;

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
    RegValue previous;
    if (security.Open(registry, Root::CurrentUser, key, Rights::Read, RegistryView::View64) ==
            kSuccess &&
        security.Query(value, kPathCapacity, previous) == kSuccess) {
      state.Loaded.OutlookSecureOldTempFolder = previous.TextUpToNul();
      form.SetText(edAttachmentPath, state.Loaded.OutlookSecureOldTempFolder);
    }
  }
  form.SetEnabled(btnRevert, false);
}

}  // namespace tarnwell

#include "settings/save_plan.h"

#include <utility>

#include "attachments/allow_list.h"
#include "settings/settings_catalogue.h"

namespace tarnwell {
namespace {

constexpr std::string_view kPstPathMissing =
    "The default .pst path does not exist and will not be saved.";
constexpr std::string_view kOstNotice =
    "The default folder for .ost files has been changed.  You must set this before creating an "
    "Exchange profile in Outlook.  If the profile is already created, you must change the "
    "default path in the Offline Folder File Settings in the Exchange account setup in Outlook.";
constexpr std::string_view kOstPathMissing =
    "The default .ost path does not exist and will not be saved.";
constexpr std::string_view kSaveAttachmentsPathMissing =
    "The default path for saving attachments specified does not exist and will not be saved.";
constexpr std::string_view kOpenAttachmentsPathMissing =
    "The default path for opening attachments specified does not exist and will not be saved.";
constexpr std::string_view kDocumentCachePathMissing =
    "The default path for the Office document cache specified does not exist and will not be "
    "saved.";
constexpr std::string_view kNotAdministrator =
    "Tarnwell has not been run as an Administrator on this system. Enabling recovery of deleted "
    "items in Exchange cannot be saved.";

RegFileValue Text(Setting setting, const std::string& text) {
  return {std::string(CatalogueRow(setting).name), RegValue{ValueType::String, StringData(text)}};
}

RegFileValue Number(Setting setting, std::uint32_t number) {
  return {std::string(CatalogueRow(setting).name), RegValue{ValueType::Dword, DwordData(number)}};
}

class Planner {
 public:
  Planner(const Form& form, const Services& services, const AppState& state, SaveFor purpose)
      : form_(form),
        services_(services),
        loaded_(state.Loaded),
        outlook_(state.OutlookVersion),
        here_(purpose == SaveFor::ThisPc) {}

  std::vector<SaveStep> Plan() {
    if (outlook_.MajorVersion != OfficeVersion::None) {
      PlanOutlookKey();
      PlanOptionsKey();
      PlanAttachmentFolder();
      PlanDocumentCache();
      PlanTicks(SettingKey::OutlookPreferences, {Setting::MinToTray});
      PlanTicks(SettingKey::OutlookOptionsMail,
                {Setting::ReadAsPlain, Setting::SaveAllMIMENotJustHeaders});
      // The stored value hides the clipboard: it is the box inverted.
      SaveKeyPlan clipboard = UserKey(SettingKey::CommonGeneral);
      clipboard.steps.emplace_back(
          Number(Setting::AcbControl, Ticked(Setting::AcbControl) ? 0 : 1));
      plan_.emplace_back(std::move(clipboard));
    }
    PlanLevel1Remove();
    if (outlook_.HasDepSetting()) {
      PlanTicks(SettingKey::OutlookSecurity, {Setting::EnableDEP});
    }
    if (here_) {
      PlanDumpster();
    }
    return std::move(plan_);
  }

 private:
  // Every key below HKCU is written in the native view (the Office keys there are the same
  // in both views).
  SaveKeyPlan UserKey(SettingKey key) const {
    return {Root::CurrentUser,
            SettingKeyPath(key, outlook_.MajorVersion),
            RegistryView::NativeView,
            Rights::Write,
            {}};
  }

  std::string TextOf(Setting setting) const { return form_.Text(CatalogueRow(setting).control); }
  bool Changed(Setting setting) const { return form_.Modified(CatalogueRow(setting).control); }
  bool Ticked(Setting setting) const { return form_.Checked(CatalogueRow(setting).control); }
  bool NamesFolder(const std::string& path) const {
    return services_.file_system.FolderExists(path);
  }

  void Tick(SaveKeyPlan& key, Setting setting) const {
    key.steps.emplace_back(Number(setting, Ticked(setting) ? 1 : 0));
  }

  void PlanTicks(SettingKey key, std::initializer_list<Setting> settings) {
    SaveKeyPlan planned = UserKey(key);
    for (Setting setting : settings) {
      Tick(planned, setting);
    }
    plan_.emplace_back(std::move(planned));
  }

  // A folder field inside its key: here only when changed and naming a folder (a warning
  // otherwise), with a notice of its own before it is written; for another PC as typed.
  void FolderField(SaveKeyPlan& key, Setting setting, std::string_view missing,
                   std::string_view notice = {}) const {
    const std::string path = TextOf(setting);
    if (!here_) {
      if (!path.empty()) {
        key.steps.emplace_back(Text(setting, path));
      }
      return;
    }
    if (!NamesFolder(path)) {
      key.steps.emplace_back(SaveNotice{MessageKind::Warning, missing});
      return;
    }
    if (!notice.empty()) {
      key.steps.emplace_back(SaveNotice{MessageKind::Information, notice});
    }
    key.steps.emplace_back(Text(setting, path));
  }

  void PlanOutlookKey() {
    SaveKeyPlan key = UserKey(SettingKey::Outlook);
    if (!here_ || Changed(Setting::ForcePSTPath)) {
      FolderField(key, Setting::ForcePSTPath, kPstPathMissing);
    }
    if (!here_ || Changed(Setting::ForceOSTPath)) {
      FolderField(key, Setting::ForceOSTPath, kOstPathMissing, kOstNotice);
    }
    Tick(key, Setting::DisableBGSave);
    Tick(key, Setting::DisablePST);
    plan_.emplace_back(std::move(key));
  }

  void PlanOptionsKey() {
    SaveKeyPlan key = UserKey(SettingKey::OutlookOptions);
    // A field cleared by the user keeps Outlook's value, without a word.
    if ((!here_ || Changed(Setting::DefaultPath)) && !TextOf(Setting::DefaultPath).empty()) {
      FolderField(key, Setting::DefaultPath, kSaveAttachmentsPathMissing);
    }
    for (Setting tick : {Setting::DisablePOP3, Setting::DisableIMAP, Setting::DisableExchange,
                         Setting::DisableHTTP, Setting::DisableOtherTypes}) {
      Tick(key, tick);
    }
    plan_.emplace_back(std::move(key));
  }

  // The two folders below come before their keys are opened: their warnings are shown
  // whether the key opens or not. A new folder for opening attachments is written with the
  // one used until now, which "Revert to previous path" reads back.
  void PlanAttachmentFolder() {
    const std::string path = TextOf(Setting::OutlookSecureTempFolder);
    if (path.empty()) {
      return;
    }
    if (here_ && !NamesFolder(path)) {
      plan_.emplace_back(SaveNotice{MessageKind::Warning, kOpenAttachmentsPathMissing});
      return;
    }
    if (here_ && path == loaded_.OutlookSecureTempFolder) {
      return;
    }
    SaveKeyPlan key = UserKey(SettingKey::OutlookSecurity);
    key.steps.emplace_back(Text(Setting::OutlookSecureTempFolder, path));
    key.steps.emplace_back(
        Text(Setting::OutlookSecureOldTempFolder, loaded_.OutlookSecureTempFolder));
    plan_.emplace_back(std::move(key));
  }

  void PlanDocumentCache() {
    const std::string path = TextOf(Setting::OfficeCacheLocation);
    if (path.empty()) {
      return;
    }
    if (here_ && !NamesFolder(path)) {
      plan_.emplace_back(SaveNotice{MessageKind::Warning, kDocumentCachePathMissing});
      return;
    }
    SaveKeyPlan key = UserKey(SettingKey::CommonInternet);
    key.steps.emplace_back(Text(Setting::OfficeCacheLocation, path));
    plan_.emplace_back(std::move(key));
  }

  void PlanLevel1Remove() {
    const std::vector<std::string> allowed =
        form_.Items(CatalogueRow(Setting::Level1Remove).control);
    std::optional<std::string> text = Level1RemoveToWrite(allowed, loaded_.Level1Remove);
    if (!here_ && !text) {
      text = loaded_.Level1Remove;  // unchanged, and still written for the other PC
    }
    if (text) {
      SaveKeyPlan key = UserKey(CatalogueRow(Setting::Level1Remove).key);
      key.steps.emplace_back(Text(Setting::Level1Remove, *text));
      plan_.emplace_back(std::move(key));
    }
  }

  // Machine-wide, so written only by an administrator, and only when the box moved away
  // from a loaded 0 or 1.
  void PlanDumpster() {
    const SettingRow& row = CatalogueRow(Setting::DumpsterAlwaysOn);
    const bool ticked = Ticked(Setting::DumpsterAlwaysOn);
    const bool differs =
        (loaded_.DumpsterAlwaysOn == 1 && !ticked) || (loaded_.DumpsterAlwaysOn == 0 && ticked);
    if (!differs) {
      return;
    }
    if (!services_.elevation.IsAppElevated()) {
      plan_.emplace_back(SaveNotice{MessageKind::Warning, kNotAdministrator});
      return;
    }
    plan_.emplace_back(SaveKeyPlan{row.root,
                                   SettingKeyPath(row.key, outlook_.MajorVersion),
                                   RegistryView::View64,
                                   Rights::Full,
                                   {Number(Setting::DumpsterAlwaysOn, ticked ? 1 : 0)}});
  }

  const Form& form_;
  const Services& services_;
  const LoadedSettings& loaded_;
  const OutlookVersionInfo& outlook_;
  const bool here_;
  std::vector<SaveStep> plan_;
};

}  // namespace

std::vector<SaveStep> PlanSave(const Form& form, const Services& services, const AppState& state,
                               SaveFor purpose) {
  return Planner(form, services, state, purpose).Plan();
}

std::optional<std::string> Level1RemoveToWrite(const std::vector<std::string>& allowed,
                                               std::string_view loaded) {
  std::string text = ComposeLevel1Remove(allowed, UnlistedPieces(loaded));
  if (!text.empty() && text == loaded) {
    return std::nullopt;
  }
  return text;
}

}  // namespace tarnwell

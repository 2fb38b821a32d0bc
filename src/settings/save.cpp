#include "settings/save.h"

#include <string>

#include "attachments/allow_list.h"
#include "settings/backup.h"
#include "settings/settings_catalogue.h"
#include "ui/main_layout.h"

namespace tarnwell {
namespace {

using namespace tform1;

constexpr std::string_view kConfirmSave = "Are you sure you want to make these changes?";
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
constexpr std::string_view kNoBackupStart =
    "Tarnwell could not write a backup of the current settings to ";
constexpr std::string_view kNoBackupEnd = ". Save without a backup?";
constexpr std::string_view kRestartOutlook =
    "You must restart Outlook for these changes to take effect.";

class Save {
 public:
  Save(Form& form, const Services& services, const AppState& state)
      : form_(form), services_(services), loaded_(state.Loaded), outlook_(state.OutlookVersion) {}

  void WriteSettings() {
    if (outlook_.MajorVersion != OfficeVersion::None) {
      SaveOutlookKey();
      SaveOptionsKey();
      SaveAttachmentFolder();
      SaveDocumentCache();
      WriteTicks(SettingKey::OutlookPreferences, {Setting::MinToTray});
      WriteTicks(SettingKey::OutlookOptionsMail,
                 {Setting::ReadAsPlain, Setting::SaveAllMIMENotJustHeaders});
      SaveClipboard();
    }
    WriteLevel1Remove(services_.registry, outlook_.MajorVersion, form_.Items(lbAllowed),
                      loaded_.Level1Remove);
    if (outlook_.HasDepSetting()) {
      WriteTicks(SettingKey::OutlookSecurity, {Setting::EnableDEP});
    }
    SaveDumpster();
  }

 private:
  // Every key below HKCU is opened for writing, created when missing, in the native view
  // (the Office keys there are the same in both views).
  RegKey OpenForWriting(SettingKey key) {
    RegKey opened;
    (void)opened.Create(services_.registry, Root::CurrentUser,
                        SettingKeyPath(key, outlook_.MajorVersion), Rights::Write,
                        RegistryView::NativeView);
    return opened;
  }

  void Warn(std::string_view text) { services_.dialogs.Message(MessageKind::Warning, text); }

  std::string TextOf(Setting setting) { return form_.Text(CatalogueRow(setting).control); }
  bool Changed(Setting setting) { return form_.Modified(CatalogueRow(setting).control); }
  bool NamesFolder(const std::string& path) { return services_.file_system.FolderExists(path); }

  void WriteTick(RegKey& key, Setting setting) {
    const SettingRow& row = CatalogueRow(setting);
    (void)key.SetDword(row.name, form_.Checked(row.control) ? 1 : 0);
  }

  void WriteTicks(SettingKey key, std::initializer_list<Setting> settings) {
    RegKey opened = OpenForWriting(key);
    if (!opened.Valid()) {
      return;
    }
    for (Setting setting : settings) {
      WriteTick(opened, setting);
    }
  }

  void WriteText(RegKey& key, Setting setting, const std::string& text) {
    (void)key.SetString(CatalogueRow(setting).name, text);
  }

  // A key that cannot be opened passes over its folder checks and warnings as well.
  void SaveOutlookKey() {
    RegKey key = OpenForWriting(SettingKey::Outlook);
    if (!key.Valid()) {
      return;
    }
    if (Changed(Setting::ForcePSTPath)) {
      const std::string path = TextOf(Setting::ForcePSTPath);
      if (NamesFolder(path)) {
        WriteText(key, Setting::ForcePSTPath, path);
      } else {
        Warn(kPstPathMissing);
      }
    }
    if (Changed(Setting::ForceOSTPath)) {
      const std::string path = TextOf(Setting::ForceOSTPath);
      if (NamesFolder(path)) {
        services_.dialogs.Message(MessageKind::Information, kOstNotice);
        WriteText(key, Setting::ForceOSTPath, path);
      } else {
        Warn(kOstPathMissing);
      }
    }
    WriteTick(key, Setting::DisableBGSave);
    WriteTick(key, Setting::DisablePST);
  }

  void SaveOptionsKey() {
    RegKey key = OpenForWriting(SettingKey::OutlookOptions);
    if (!key.Valid()) {
      return;
    }
    // A field cleared by the user keeps Outlook's value, without a word.
    const std::string path = TextOf(Setting::DefaultPath);
    if (Changed(Setting::DefaultPath) && !path.empty()) {
      if (NamesFolder(path)) {
        WriteText(key, Setting::DefaultPath, path);
      } else {
        Warn(kSaveAttachmentsPathMissing);
      }
    }
    for (Setting tick : {Setting::DisablePOP3, Setting::DisableIMAP, Setting::DisableExchange,
                         Setting::DisableHTTP, Setting::DisableOtherTypes}) {
      WriteTick(key, tick);
    }
  }

  // A new folder for opening attachments is written with the one used until now, which
  // "Revert to previous path" reads back.
  void SaveAttachmentFolder() {
    const std::string path = TextOf(Setting::OutlookSecureTempFolder);
    if (path.empty()) {
      return;
    }
    if (!NamesFolder(path)) {
      Warn(kOpenAttachmentsPathMissing);
      return;
    }
    if (path == loaded_.OutlookSecureTempFolder) {
      return;
    }
    RegKey key = OpenForWriting(SettingKey::OutlookSecurity);
    if (key.Valid()) {
      WriteText(key, Setting::OutlookSecureTempFolder, path);
      WriteText(key, Setting::OutlookSecureOldTempFolder, loaded_.OutlookSecureTempFolder);
    }
  }

  void SaveDocumentCache() {
    const std::string path = TextOf(Setting::OfficeCacheLocation);
    if (path.empty()) {
      return;
    }
    if (!NamesFolder(path)) {
      Warn(kDocumentCachePathMissing);
      return;
    }
    RegKey key = OpenForWriting(SettingKey::CommonInternet);
    if (key.Valid()) {
      WriteText(key, Setting::OfficeCacheLocation, path);
    }
  }

  // The stored value hides the clipboard: it is the box inverted.
  void SaveClipboard() {
    RegKey key = OpenForWriting(SettingKey::CommonGeneral);
    if (key.Valid()) {
      const SettingRow& row = CatalogueRow(Setting::AcbControl);
      (void)key.SetDword(row.name, form_.Checked(row.control) ? 0 : 1);
    }
  }

  // Machine-wide, so written only by an administrator, and only when the box moved away
  // from a loaded 0 or 1.
  void SaveDumpster() {
    const SettingRow& row = CatalogueRow(Setting::DumpsterAlwaysOn);
    const bool ticked = form_.Checked(row.control);
    const bool differs =
        (loaded_.DumpsterAlwaysOn == 1 && !ticked) || (loaded_.DumpsterAlwaysOn == 0 && ticked);
    if (!differs) {
      return;
    }
    if (!services_.elevation.IsAppElevated()) {
      Warn(kNotAdministrator);
      return;
    }
    RegKey key;
    if (key.Create(services_.registry, row.root, SettingKeyPath(row.key, outlook_.MajorVersion),
                   Rights::Full, RegistryView::View64) == kSuccess) {
      (void)key.SetDword(row.name, ticked ? 1 : 0);
    }
  }

  Form& form_;
  const Services& services_;
  const LoadedSettings& loaded_;
  const OutlookVersionInfo& outlook_;
};

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

bool SaveSettings(Form& form, const Services& services, const AppState& state) {
  if (services.dialogs.Message(MessageKind::Confirmation, kConfirmSave) != Answer::Yes) {
    return false;
  }
  if (!WriteBackup(services, state.OutlookVersion)) {
    std::string folder = BackupFolder(services.file_system);
    folder.pop_back();  // named without its trailing backslash
    const std::string question = std::string(kNoBackupStart) + folder + std::string(kNoBackupEnd);
    if (services.dialogs.Message(MessageKind::ConfirmationDefaultNo, question) != Answer::Yes) {
      return false;
    }
  }
  Save(form, services, state).WriteSettings();
  services.dialogs.Message(MessageKind::Information, kRestartOutlook);
  return true;
}

void WriteLevel1Remove(Registry& registry, OfficeVersion version,
                       const std::vector<std::string>& allowed, std::string_view loaded) {
  const std::string text = ComposeLevel1Remove(allowed, UnlistedPieces(loaded));
  if (!text.empty() && text == loaded) {
    return;
  }
  const SettingRow& row = CatalogueRow(Setting::Level1Remove);
  RegKey key;
  if (key.Create(registry, row.root, SettingKeyPath(row.key, version), Rights::Write,
                 RegistryView::NativeView) == kSuccess) {
    (void)key.SetString(row.name, text);
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

#include "tools/profile_export.h"

namespace tarnwell {
namespace {

constexpr std::string_view kMessagingProfilesKey =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging "
    "Subsystem\\Profiles";
constexpr unsigned kEditorWait = 60000;

constexpr FileDialogOptions kSaveDialog{
    "Save Outlook User Information", {}, ".reg", "Registry Files|*.reg"};

constexpr std::string_view kNotOnWindows8 =
    "This feature has currently been tested with Windows versions below Windows 8 and has been "
    "successful, however is not functioning with Windows 8 and will be cancelled.";
constexpr std::string_view kQuestion =
    "This feature will extract your Microsoft Outlook user information into a Windows registry "
    "backup file.  Do you wish to continue?";
constexpr std::string_view kSaved = "Microsoft Outlook user information successfully saved!";
constexpr std::string_view kFailed =
    "There was an error saving the Microsoft Outlook user information.";

// Outlook 2013 and later keep their mail profiles below their own Office key.
std::string ProfilesKey(OfficeVersion version) {
  if (version < OfficeVersion::V15) {
    return std::string(kMessagingProfilesKey);
  }
  return "HKEY_CURRENT_USER\\" + OfficeKeyRoot(version) + "Outlook\\Profiles";
}

}  // namespace

std::string DefaultExportName(const Date& today) {
  return "OutlookUserBackup-" + std::to_string(today.year) + "-" + std::to_string(today.month) +
         "-" + std::to_string(today.day);
}

void ExportProfiles(const Services& services, const AppState& state) {
  Dialogs& dialogs = services.dialogs;
  if (state.IsWindows8) {
    dialogs.Message(MessageKind::Warning, kNotOnWindows8);
    return;
  }
  if (dialogs.Message(MessageKind::Confirmation, kQuestion) != Answer::Yes) {
    return;
  }
  const std::string name = DefaultExportName(services.clock.Today());
  FileDialogOptions options = kSaveDialog;
  options.file_name = name;
  const std::optional<std::string> file = dialogs.SaveFile(options);
  if (!file) {
    return;
  }
  const auto before = services.file_system.LastWriteTime(*file);
  const std::string parameters =
      "/e \"" + *file + "\" \"" + ProfilesKey(state.OutlookVersion.MajorVersion) + "\"";
  const Shell::Ran ran =
      services.shell.RunAndWait("regedit.exe", parameters, kShowNormal, kEditorWait);
  const auto after = services.file_system.LastWriteTime(*file);
  const bool written =
      ran == Shell::Ran::Ended && after.has_value() && (!before.has_value() || *after > *before);
  if (written) {
    dialogs.Message(MessageKind::Information, kSaved);
  } else {
    dialogs.Message(MessageKind::Error, kFailed);
  }
}

}  // namespace tarnwell

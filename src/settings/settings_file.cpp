#include "settings/settings_file.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>

#include "settings/backup.h"
#include "settings/save.h"
#include "settings/save_plan.h"
#include "version.h"

namespace tarnwell {
namespace {

constexpr std::string_view kRegistryFilter = "Registry Files (*.reg)|*.reg";
constexpr std::string_view kRegExtension = ".reg";
constexpr std::string_view kExportTitle = "Export settings for other PCs";
constexpr std::string_view kExportedStart = "The settings were exported to ";
constexpr std::string_view kNotExportedStart = "The settings could not be written to ";
constexpr std::string_view kRestoreTitle = "Restore settings from a backup";
constexpr std::string_view kRestored =
    "The settings were restored. Tarnwell will now close; restart Outlook for the changes to "
    "take effect.";
constexpr std::string_view kSkippedEnd = " skipped: Tarnwell does not run as an administrator.";

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

std::string FileName(std::string_view path) {
  const std::size_t slash = path.find_last_of("\\/");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string Refusal(std::string_view path, std::size_t line, std::string_view why) {
  return std::string(path) + " was not restored: " +
         (line == 0 ? std::string() : "line " + std::to_string(line) + ": ") + std::string(why) +
         ".";
}

// Why a file's values are not all ones a save writes for this installation, at the first
// offence; nothing when they are.
std::optional<std::string> Offence(std::string_view path, const std::vector<RegFileKey>& keys,
                                   const OutlookVersionInfo& outlook) {
  // The machine-wide value too, whoever runs the program: a user's restore passes it over.
  const std::vector<SavedKey> table = SaveMayWrite(outlook, true);
  for (const RegFileKey& key : keys) {
    const auto known = std::find_if(table.begin(), table.end(), [&key](const SavedKey& saved) {
      return saved.root == key.root && SameKeyName(saved.path, key.path);
    });
    if (known == table.end()) {
      return Refusal(path, key.line,
                     "Tarnwell does not write the key " + std::string(RegFileRootName(key.root)) +
                         "\\" + key.path);
    }
    for (const RegFileValue& value : key.values) {
      if (std::none_of(known->names.begin(), known->names.end(),
                       [&value](std::string_view name) { return SameKeyName(name, value.name); })) {
        return Refusal(path, value.line,
                       "Tarnwell does not write the value \"" + value.name + "\" in that key");
      }
    }
  }
  return std::nullopt;
}

// Sets or deletes each value; machine-wide ones only for an administrator. The number of
// values skipped for want of the rights.
std::size_t PutBack(const Services& services, const std::vector<RegFileKey>& keys) {
  const bool elevated = services.elevation.IsAppElevated();
  std::size_t skipped = 0;
  for (const RegFileKey& entry : keys) {
    if (entry.root == Root::LocalMachine && !elevated) {
      skipped += entry.values.size();
      continue;
    }
    // A key is made only for a value to set in it: a deletion needs none.
    const bool sets =
        std::any_of(entry.values.begin(), entry.values.end(),
                    [](const RegFileValue& value) { return value.value.has_value(); });
    RegKey key;
    const Status opened = sets ? key.Create(services.registry, entry.root, entry.path,
                                            Rights::Write, SavedView(entry.root))
                               : key.Open(services.registry, entry.root, entry.path, Rights::Write,
                                          SavedView(entry.root));
    if (opened != kSuccess) {
      continue;
    }
    for (const RegFileValue& value : entry.values) {
      if (value.value) {
        (void)key.Set(value.name, value.value->type, value.value->data);
      } else {
        (void)key.DeleteValue(value.name);
      }
    }
  }
  return skipped;
}

}  // namespace

void ExportSettings(const Form& form, const Services& services, const AppState& state) {
  const std::string name =
      "Tarnwell-settings-" + VersionNumber(state.OutlookVersion.MajorVersion) + ".reg";
  const std::optional<std::string> path =
      services.dialogs.SaveFile({.title = kExportTitle,
                                 .file_name = name,
                                 .default_extension = kRegExtension,
                                 .filter = kRegistryFilter});
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

bool RestoreSettings(const Services& services, const AppState& state) {
  const std::string folder = BackupFolder(services.file_system);
  const std::optional<std::string> path =
      services.dialogs.OpenFile({.title = kRestoreTitle,
                                 .default_extension = kRegExtension,
                                 .filter = kRegistryFilter,
                                 .initial_folder = folder});
  if (!path) {
    return false;
  }
  Dialogs& dialogs = services.dialogs;
  // One byte over the largest file read, so that the reader refuses a longer one.
  const std::optional<std::string> bytes =
      services.file_system.ReadWholeFile(*path, kMaxRegFileSize + 1);
  if (!bytes) {
    dialogs.Message(MessageKind::Error, Refusal(*path, 0, "the file could not be read"));
    return false;
  }
  auto read =
      ReadRegFile(std::span(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()));
  if (const auto* error = std::get_if<RegFileError>(&read)) {
    dialogs.Message(MessageKind::Error, Refusal(*path, error->line, error->text));
    return false;
  }
  const auto& keys = std::get<std::vector<RegFileKey>>(read);
  if (const auto offence = Offence(*path, keys, state.OutlookVersion)) {
    dialogs.Message(MessageKind::Error, *offence);
    return false;
  }
  std::size_t count = 0;
  for (const RegFileKey& key : keys) {
    count += key.values.size();
  }
  const std::string question = "Restore " + std::to_string(count) +
                               (count == 1 ? " value" : " values") + " from " + FileName(*path) +
                               "? Outlook must be restarted afterwards.";
  if (dialogs.Message(MessageKind::Confirmation, question) != Answer::Yes ||
      !BackUpOrAsk(services, state.OutlookVersion)) {
    return false;
  }
  const std::size_t skipped = PutBack(services, keys);
  std::string done(kRestored);
  if (skipped > 0) {
    done += " " + std::to_string(skipped) +
            (skipped == 1 ? " machine-wide value was" : " machine-wide values were") +
            std::string(kSkippedEnd);
  }
  dialogs.Message(MessageKind::Information, done);
  return true;
}

}  // namespace tarnwell

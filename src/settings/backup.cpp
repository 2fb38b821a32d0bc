#include "settings/backup.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <string_view>
#include <tuple>

#include "settings/settings_catalogue.h"
#include "version.h"

namespace tarnwell {
namespace {

constexpr std::string_view kBelowAppData = "Tarnwell\\Backups\\";
constexpr std::string_view kNamePrefix = "Tarnwell-backup-";
constexpr std::string_view kNameSuffix = ".reg";
constexpr std::size_t kStampLength = 17;  // YYYY-MM-DD-HHMMSS

// What the save writes: every row with a control but the machine-wide Word path, below
// the version's Office key only when a version was found; EnableDEP only where Outlook
// has it, and the machine-wide DumpsterAlwaysOn only for an administrator.
bool RowMayBeWritten(const SettingRow& row, const OutlookVersionInfo& outlook, bool elevated) {
  switch (row.setting) {
    case Setting::Path:
      return false;
    case Setting::Level1Remove:
      return true;
    case Setting::EnableDEP:
      return outlook.HasDepSetting();
    case Setting::DumpsterAlwaysOn:
      return elevated;
    default:
      return outlook.MajorVersion != OfficeVersion::None;
  }
}

// One key's values as they stand; nothing when one cannot be read.
std::optional<RegFileKey> Read(Registry& registry, RegFileKey key,
                               const std::vector<std::string_view>& names) {
  RegKey opened;
  const Status status =
      opened.Open(registry, key.root, key.path, Rights::Read, SavedView(key.root));
  if (status != kSuccess && status != kFileNotFound) {
    return std::nullopt;
  }
  for (std::string_view name : names) {
    RegFileValue entry{std::string(name), std::nullopt};
    if (opened.Valid()) {
      RegValue value;
      const Status read = opened.QueryWhole(name, value);
      if (read == kSuccess) {
        entry.value = std::move(value);
      } else if (read != kFileNotFound) {
        return std::nullopt;
      }
    }
    key.values.push_back(std::move(entry));
  }
  return key;
}

std::string Digits(int number, std::size_t width) {
  std::string text = std::to_string(number);
  return std::string(width > text.size() ? width - text.size() : 0, '0') + text;
}

std::string Stamp(const DateTime& now) {
  return Digits(now.date.year, 4) + '-' + Digits(now.date.month, 2) + '-' +
         Digits(now.date.day, 2) + '-' + Digits(now.hour, 2) + Digits(now.minute, 2) +
         Digits(now.second, 2);
}

std::string Comment(const OutlookVersionInfo& outlook, const DateTime& now) {
  const std::string found = outlook.DisplayText();
  return "Tarnwell " TARNWELL_VERSION_TEXT ", settings of " +
         (found.empty() ? std::string("no identified Outlook") : found) + " before the save of " +
         Digits(now.date.year, 4) + '-' + Digits(now.date.month, 2) + '-' +
         Digits(now.date.day, 2) + ' ' + Digits(now.hour, 2) + ':' + Digits(now.minute, 2) + ':' +
         Digits(now.second, 2) + "\nTo put them back: reg import <this file> /reg:64";
}

// Where a backup's name sorts among the others: its time, then its number in that second
// (1 for none); nothing for a name of another pattern.
std::optional<std::tuple<std::string, unsigned>> BackupOrder(std::string_view name) {
  const auto starts = [&name](std::string_view start) {
    return name.size() >= start.size() &&
           std::equal(start.begin(), start.end(), name.begin(), [](char a, char b) {
             return std::tolower(static_cast<unsigned char>(a)) ==
                    std::tolower(static_cast<unsigned char>(b));
           });
  };
  if (!starts(kNamePrefix)) {
    return std::nullopt;
  }
  name.remove_prefix(kNamePrefix.size());
  if (name.size() < kStampLength + kNameSuffix.size()) {
    return std::nullopt;
  }
  const std::string stamp(name.substr(0, kStampLength));
  for (std::size_t i = 0; i < stamp.size(); ++i) {
    const bool dash = i == 4 || i == 7 || i == 10;
    if (dash ? stamp[i] != '-' : (stamp[i] < '0' || stamp[i] > '9')) {
      return std::nullopt;
    }
  }
  name.remove_prefix(kStampLength);
  unsigned number = 1;
  if (name.starts_with('-')) {
    name.remove_prefix(1);
    number = 0;
    std::size_t digits = 0;
    while (digits < name.size() && digits < 6 && name[digits] >= '0' && name[digits] <= '9') {
      number = number * 10 + static_cast<unsigned>(name[digits] - '0');
      ++digits;
    }
    if (digits == 0 || name[0] == '0' || number < 2) {
      return std::nullopt;
    }
    name.remove_prefix(digits);
  }
  if (!starts(kNameSuffix) || name.size() != kNameSuffix.size()) {
    return std::nullopt;
  }
  return std::tuple(stamp, number);
}

// A name not yet taken in the folder: the time, then -2, -3, ... within the same second.
std::string FreeName(FileSystem& files, const std::string& folder, const DateTime& now) {
  const std::string base = std::string(kNamePrefix) + Stamp(now);
  std::string name = base + std::string(kNameSuffix);
  for (unsigned number = 2; files.FileExists(folder + name); ++number) {
    name = base + '-' + std::to_string(number) + std::string(kNameSuffix);
  }
  return name;
}

void DeleteOldBackups(FileSystem& files, const std::string& folder) {
  std::vector<std::tuple<std::string, unsigned, std::string>> backups;
  for (std::string& name : files.FileNames(folder)) {
    if (const auto order = BackupOrder(name)) {
      backups.emplace_back(std::get<0>(*order), std::get<1>(*order), std::move(name));
    }
  }
  if (backups.size() <= kKeptBackups) {
    return;
  }
  std::sort(backups.begin(), backups.end(), std::greater<>());
  for (auto old = backups.begin() + kKeptBackups; old != backups.end(); ++old) {
    (void)files.RemoveFile(folder + std::get<2>(*old));
  }
}

}  // namespace

std::string BackupFolder(FileSystem& files) {
  const std::string app_data = files.LocalAppDataFolder();
  return (app_data.empty() ? std::string("%LOCALAPPDATA%\\") : app_data) +
         std::string(kBelowAppData);
}

std::vector<SavedKey> SaveMayWrite(const OutlookVersionInfo& outlook, bool elevated) {
  std::vector<SavedKey> keys;
  for (const SettingRow& row : kSettingsCatalogue) {
    if (!RowMayBeWritten(row, outlook, elevated)) {
      continue;
    }
    const std::string path = SettingKeyPath(row.key, outlook.MajorVersion);
    auto key = std::find_if(keys.begin(), keys.end(), [&](const SavedKey& known) {
      return known.root == row.root && known.path == path;
    });
    if (key == keys.end()) {
      key = keys.insert(keys.end(), SavedKey{row.root, path, {}});
    }
    key->names.push_back(row.name);
  }
  return keys;
}

RegistryView SavedView(Root root) {
  return root == Root::LocalMachine ? RegistryView::View64 : RegistryView::NativeView;
}

std::optional<std::vector<RegFileKey>> ValuesBeforeSave(Registry& registry,
                                                        const OutlookVersionInfo& outlook,
                                                        bool elevated) {
  std::vector<RegFileKey> keys;
  for (const auto& [root, path, names] : SaveMayWrite(outlook, elevated)) {
    auto key = Read(registry, RegFileKey{root, path, {}}, names);
    if (!key) {
      return std::nullopt;
    }
    keys.push_back(std::move(*key));
  }
  return keys;
}

bool WriteBackup(const Services& services, const OutlookVersionInfo& outlook) {
  FileSystem& files = services.file_system;
  if (files.LocalAppDataFolder().empty()) {
    return false;
  }
  const std::string folder = BackupFolder(files);
  const auto keys =
      ValuesBeforeSave(services.registry, outlook, services.elevation.IsAppElevated());
  if (!keys || !files.MakeFolders(folder)) {
    return false;
  }
  const DateTime now = services.clock.Now();
  if (!files.WriteWholeFile(folder + FreeName(files, folder, now),
                            WriteRegFile(*keys, Comment(outlook, now)))) {
    return false;
  }
  DeleteOldBackups(files, folder);
  return true;
}

}  // namespace tarnwell

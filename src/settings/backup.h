#pragma once

// The backup written before a save: every value the save may write, as it stands before
// the save, in a registry file that `reg import FILE /reg:64` puts back.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/reg_file.h"
#include "state/app_state.h"

namespace tarnwell {

// The backups kept in the folder; older ones are deleted after each new one.
inline constexpr std::size_t kKeptBackups = 20;

// %LOCALAPPDATA%\Tarnwell\Backups\, with its trailing backslash; as that text when Windows
// names no application-data folder.
std::string BackupFolder(FileSystem& files);

// One key a save may write, with the names of the values it may write there.
struct SavedKey {
  Root root = Root::CurrentUser;
  std::string path;
  std::vector<std::string_view> names;
};

// What a save may write for this installation: its keys in the order the catalogue first
// names them, each with its values. DumpsterAlwaysOn only when `elevated`.
std::vector<SavedKey> SaveMayWrite(const OutlookVersionInfo& outlook, bool elevated);

// The view a save writes a root's values in: 64-bit machine-wide, native per-user.
RegistryView SavedView(Root root);

// The values a save may write for this installation, key by key in the view the save
// writes them: each value's type and bytes, a missing value (or key) as a deletion.
// DumpsterAlwaysOn only when `elevated`, as only then can the save write it. Nothing when
// a value exists but cannot be read.
std::optional<std::vector<RegFileKey>> ValuesBeforeSave(Registry& registry,
                                                        const OutlookVersionInfo& outlook,
                                                        bool elevated);

// Writes the backup file, named after the local time, into BackupFolder (made when missing)
// and deletes the backups beyond the newest kKeptBackups. False when it was not written.
bool WriteBackup(const Services& services, const OutlookVersionInfo& outlook);

}  // namespace tarnwell

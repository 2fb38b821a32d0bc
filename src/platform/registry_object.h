#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace tarnwell {

// The one exception type of the program: a registry read through RegistryObject that found
// a value of the wrong type or could not get its data. Shown in the standard error box.
class RegistryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string InvalidDataTypeText(std::string_view value_name);  // "Invalid data type for 'X'"
std::string GetDataFailedText(std::string_view value_name);    // "Failed to get data for 'X'"

// The key-object accessor: a root (HKCU when made), one current key and an access right
// (full when made), always in the native view. A path that starts with a backslash counts
// from the root; any other from the current key, or the root when none is open.
class RegistryObject {
 public:
  explicit RegistryObject(Registry& registry) : registry_(registry) {}

  void SetRootKey(Root root);
  Root RootKey() const { return root_; }
  Rights CurrentRights() const { return rights_; }
  const std::string& CurrentPath() const { return current_path_; }

  // Opens the key with the object's current right and closes it again.
  bool CanOpenKey(std::string_view path);
  // Opens the key for reading; on success it becomes the current key and the right read.
  bool OpenKeyForRead(std::string_view path);
  void CloseKey();

  bool HasValue(std::string_view name);
  // A value's type and size, without reading it; nothing when it is missing.
  struct DataInfo {
    ValueType type;
    std::size_t size;
  };
  std::optional<DataInfo> GetDataInfo(std::string_view name);
  // Missing or empty: empty text. Not REG_SZ or REG_EXPAND_SZ: RegistryError.
  std::string ReadString(std::string_view name);
  // Missing or over four bytes: RegistryError "Failed to get data". Not REG_DWORD:
  // RegistryError "Invalid data type".
  std::uint32_t ReadInteger(std::string_view name);
  std::vector<std::string> GetKeyNames();

 private:
  // Opens `path` by the object's rules; `full_path` receives its path from the root.
  Status OpenPath(std::string_view path, Rights rights, RegKey& key, std::string& full_path);
  // The current key, or the root opened for reading when none is open.
  const RegKey* ReadKey(RegKey& scratch);
  Status QueryCurrent(std::string_view name, std::size_t capacity, RegValue& value);

  Registry& registry_;
  Root root_ = Root::CurrentUser;
  Rights rights_ = Rights::Full;
  RegKey current_;
  std::string current_path_;
};

}  // namespace tarnwell

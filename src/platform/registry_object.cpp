#include "platform/registry_object.h"

#include <utility>

namespace tarnwell {

std::string InvalidDataTypeText(std::string_view value_name) {
  return "Invalid data type for '" + std::string(value_name) + "'";
}

std::string GetDataFailedText(std::string_view value_name) {
  return "Failed to get data for '" + std::string(value_name) + "'";
}

void RegistryObject::SetRootKey(Root root) {
  CloseKey();
  root_ = root;
}

Status RegistryObject::OpenPath(std::string_view path, Rights rights, RegKey& key,
                                std::string& full_path) {
  const bool absolute = !path.empty() && path.front() == '\\';
  if (absolute || !current_.Valid()) {
    std::string_view from_root = absolute ? path.substr(1) : path;
    full_path = std::string(from_root);
    return key.Open(registry_, root_, from_root, rights, RegistryView::NativeView);
  }
  full_path = current_path_.empty() ? std::string(path) : current_path_ + "\\" + std::string(path);
  return current_.OpenSubKey(path, rights, key);
}

bool RegistryObject::CanOpenKey(std::string_view path) {
  RegKey key;
  std::string full_path;
  return OpenPath(path, rights_, key, full_path) == kSuccess;
}

bool RegistryObject::OpenKeyForRead(std::string_view path) {
  RegKey key;
  std::string full_path;
  if (OpenPath(path, Rights::Read, key, full_path) != kSuccess) {
    return false;
  }
  current_ = std::move(key);
  current_path_ = std::move(full_path);
  rights_ = Rights::Read;
  return true;
}

void RegistryObject::CloseKey() {
  current_.Close();
  current_path_.clear();
}

const RegKey* RegistryObject::ReadKey(RegKey& scratch) {
  if (current_.Valid()) {
    return &current_;
  }
  if (scratch.Open(registry_, root_, "", Rights::Read, RegistryView::NativeView) != kSuccess) {
    return nullptr;
  }
  return &scratch;
}

Status RegistryObject::QueryCurrent(std::string_view name, std::size_t capacity, RegValue& value) {
  RegKey scratch;
  const RegKey* key = ReadKey(scratch);
  if (key == nullptr) {
    return kInvalidHandle;
  }
  return capacity == 0 ? key->QueryWhole(name, value) : key->Query(name, capacity, value);
}

bool RegistryObject::HasValue(std::string_view name) {
  return GetDataInfo(name).has_value();
}

std::optional<RegistryObject::DataInfo> RegistryObject::GetDataInfo(std::string_view name) {
  RegKey scratch;
  const RegKey* key = ReadKey(scratch);
  DataInfo info{ValueType::None, 0};
  if (key == nullptr || key->QueryInfo(name, info.type, info.size) != kSuccess) {
    return std::nullopt;
  }
  return info;
}

std::string RegistryObject::ReadString(std::string_view name) {
  RegValue value;
  if (QueryCurrent(name, 0, value) != kSuccess || value.data.empty()) {
    return {};
  }
  if (!value.IsText()) {
    throw RegistryError(InvalidDataTypeText(name));
  }
  return value.TextUpToNul();
}

std::uint32_t RegistryObject::ReadInteger(std::string_view name) {
  RegValue value;
  if (QueryCurrent(name, kDwordCapacity, value) != kSuccess) {
    throw RegistryError(GetDataFailedText(name));
  }
  if (value.type != ValueType::Dword) {
    throw RegistryError(InvalidDataTypeText(name));
  }
  return value.Number();
}

std::vector<std::string> RegistryObject::GetKeyNames() {
  RegKey scratch;
  const RegKey* key = ReadKey(scratch);
  if (key == nullptr) {
    return {};
  }
  return key->SubKeyNames(kMaxKeyNameCapacity, IndexFailure::Stop);
}

}  // namespace tarnwell

#include "platform/registry.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace tarnwell {

std::string_view RootName(Root root) {
  return root == Root::CurrentUser ? "HKCU" : "HKLM";
}

std::string_view TypeName(ValueType type) {
  switch (type) {
    case ValueType::String:
      return "REG_SZ";
    case ValueType::ExpandString:
      return "REG_EXPAND_SZ";
    case ValueType::Binary:
      return "REG_BINARY";
    case ValueType::Dword:
      return "REG_DWORD";
    case ValueType::None:
      break;
  }
  return "REG_NONE";
}

std::string RegValue::TextUpToNul() const {
  auto end = std::find(data.begin(), data.end(), std::uint8_t{0});
  return std::string(data.begin(), end);
}

std::uint32_t RegValue::Number() const {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4 && i < data.size(); ++i) {
    value |= static_cast<std::uint32_t>(data[i]) << (8 * i);
  }
  return value;
}

bool SameKeyName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::toupper(static_cast<unsigned char>(x)) ==
           std::toupper(static_cast<unsigned char>(y));
  });
}

std::vector<std::uint8_t> StringData(std::string_view text) {
  std::vector<std::uint8_t> data(text.begin(), text.end());
  data.push_back(0);
  return data;
}

std::vector<std::uint8_t> DwordData(std::uint32_t value) {
  return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

RegKey::RegKey(RegKey&& other) noexcept
    : registry_(std::exchange(other.registry_, nullptr)),
      handle_(std::exchange(other.handle_, 0)),
      view_(other.view_) {}

RegKey& RegKey::operator=(RegKey&& other) noexcept {
  if (this != &other) {
    Close();
    registry_ = std::exchange(other.registry_, nullptr);
    handle_ = std::exchange(other.handle_, 0);
    view_ = other.view_;
  }
  return *this;
}

void RegKey::Close() {
  if (registry_ != nullptr) {
    registry_->Close(handle_);
    registry_ = nullptr;
    handle_ = 0;
  }
}

Status RegKey::Open(Registry& registry, Root root, std::string_view path, Rights rights,
                    RegistryView view) {
  Close();
  Registry::Handle handle = 0;
  Status status = registry.Open({root, 0}, path, rights, view, handle);
  if (status == kSuccess) {
    *this = RegKey(registry, handle, view);
  }
  return status;
}

Status RegKey::Create(Registry& registry, Root root, std::string_view path, Rights rights,
                      RegistryView view, bool* created) {
  Close();
  Registry::Handle handle = 0;
  bool made = false;
  Status status = registry.Create({root, 0}, path, rights, view, handle, made);
  if (status == kSuccess) {
    *this = RegKey(registry, handle, view);
    if (created != nullptr) {
      *created = made;
    }
  }
  return status;
}

Status RegKey::OpenSubKey(std::string_view path, Rights rights, RegKey& out) const {
  if (!Valid()) {
    return kInvalidHandle;
  }
  Registry::Handle handle = 0;
  Status status = registry_->Open({Root::CurrentUser, handle_}, path, rights, view_, handle);
  if (status == kSuccess) {
    out = RegKey(*registry_, handle, view_);
  }
  return status;
}

Status RegKey::Query(std::string_view name, std::size_t capacity, RegValue& out) const {
  if (!Valid()) {
    return kInvalidHandle;
  }
  RegValue value;
  std::size_t size = 0;
  Status status = registry_->Query(handle_, name, capacity, value, size);
  if (status == kSuccess) {
    out = std::move(value);
  }
  return status;
}

Status RegKey::QueryInfo(std::string_view name, ValueType& type, std::size_t& size) const {
  if (!Valid()) {
    return kInvalidHandle;
  }
  RegValue value;
  std::size_t needed = 0;
  Status status = registry_->Query(handle_, name, 0, value, needed);
  if (status == kSuccess || status == kMoreData) {
    type = value.type;
    size = needed;
    return kSuccess;
  }
  return status;
}

Status RegKey::QueryWhole(std::string_view name, RegValue& out) const {
  // The value may grow between asking its size and reading it; ask again then.
  for (int attempt = 0; attempt < 4; ++attempt) {
    ValueType type = ValueType::None;
    std::size_t size = 0;
    if (Status status = QueryInfo(name, type, size); status != kSuccess) {
      return status;
    }
    Status status = Query(name, size, out);
    if (status != kMoreData) {
      return status;
    }
  }
  return kMoreData;
}

namespace {

// The text of a value just queried, if the query succeeded and the type is one taken.
std::optional<std::string> TextOf(Status status, const RegValue& value, bool text_types_only) {
  if (status != kSuccess || (text_types_only && !value.IsText())) {
    return std::nullopt;
  }
  return value.TextUpToNul();
}

}  // namespace

std::optional<std::string> RegKey::ReadText(std::string_view name, std::size_t capacity) const {
  RegValue value;
  return TextOf(Query(name, capacity, value), value, false);
}

std::optional<std::string> RegKey::ReadString(std::string_view name, std::size_t capacity) const {
  RegValue value;
  return TextOf(Query(name, capacity, value), value, true);
}

std::optional<std::string> RegKey::ReadWholeString(std::string_view name) const {
  RegValue value;
  return TextOf(QueryWhole(name, value), value, true);
}

std::optional<std::uint32_t> RegKey::ReadDword(std::string_view name) const {
  RegValue value;
  if (Query(name, kDwordCapacity, value) != kSuccess || value.type != ValueType::Dword) {
    return std::nullopt;
  }
  return value.Number();
}

Status RegKey::SetString(std::string_view name, std::string_view text) {
  return Set(name, ValueType::String, StringData(text));
}

Status RegKey::SetExpandString(std::string_view name, std::string_view text) {
  return Set(name, ValueType::ExpandString, StringData(text));
}

Status RegKey::SetDword(std::string_view name, std::uint32_t value) {
  return Set(name, ValueType::Dword, DwordData(value));
}

Status RegKey::Set(std::string_view name, ValueType type, const std::vector<std::uint8_t>& data) {
  return Valid() ? registry_->Set(handle_, name, type, data) : kInvalidHandle;
}

Status RegKey::EnumKey(std::uint32_t index, std::size_t capacity, std::string& name) const {
  if (!Valid()) {
    return kInvalidHandle;
  }
  std::string found;
  Status status = registry_->EnumKey(handle_, index, capacity, found);
  if (status == kSuccess) {
    name = std::move(found);
  }
  return status;
}

Status RegKey::EnumValue(std::uint32_t index, std::size_t name_capacity, std::size_t data_capacity,
                         std::string& name) const {
  if (!Valid()) {
    return kInvalidHandle;
  }
  std::string found;
  Status status = registry_->EnumValue(handle_, index, name_capacity, data_capacity, found);
  if (status == kSuccess) {
    name = std::move(found);
  }
  return status;
}

Status RegKey::SubKeyCount(std::uint32_t& count) const {
  if (!Valid()) {
    return kInvalidHandle;
  }
  std::uint32_t found = 0;
  Status status = registry_->SubKeyCount(handle_, found);
  if (status == kSuccess) {
    count = found;
  }
  return status;
}

std::vector<std::string> RegKey::SubKeyNames(std::size_t capacity, IndexFailure on_failure) const {
  std::vector<std::string> names;
  std::uint32_t count = 0;
  if (SubKeyCount(count) != kSuccess) {
    return names;
  }
  for (std::uint32_t index = 0; index < count; ++index) {
    std::string name;
    if (EnumKey(index, capacity, name) == kSuccess) {
      names.push_back(std::move(name));
    } else if (on_failure == IndexFailure::Stop) {
      break;
    }
  }
  return names;
}

std::vector<std::string> RegKey::ValueNames(std::size_t name_capacity,
                                            std::size_t data_capacity) const {
  std::vector<std::string> names;
  std::string name;
  for (std::uint32_t index = 0; EnumValue(index, name_capacity, data_capacity, name) == kSuccess;
       ++index) {
    names.push_back(name);
  }
  return names;
}

Status RegKey::DeleteValue(std::string_view name) {
  return Valid() ? registry_->DeleteValue(handle_, name) : kInvalidHandle;
}

Status RegKey::DeleteSubKey(std::string_view name) {
  return Valid() ? registry_->DeleteKey(handle_, name) : kInvalidHandle;
}

}  // namespace tarnwell

#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <string>

namespace tarnwell {
namespace {

// What "the default view of a 32-bit program" is in this build.
#ifdef _WIN64
constexpr REGSAM kNativeViewFlag = KEY_WOW64_32KEY;
#else
constexpr REGSAM kNativeViewFlag = 0;
#endif

REGSAM Sam(Rights rights, RegistryView view) {
  REGSAM sam = rights == Rights::Read    ? KEY_READ
               : rights == Rights::Write ? KEY_WRITE
                                         : KEY_ALL_ACCESS;
  return sam | (view == RegistryView::View64 ? KEY_WOW64_64KEY : kNativeViewFlag);
}

HKEY BaseKey(Registry::Base base) {
  if (base.key != 0) {
    return reinterpret_cast<HKEY>(base.key);
  }
  return base.root == Root::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

HKEY Key(Registry::Handle handle) {
  return reinterpret_cast<HKEY>(handle);
}

}  // namespace

Status Win32Registry::Open(Base base, std::string_view path, Rights rights, RegistryView view,
                           Handle& out) {
  HKEY key = nullptr;
  const std::string sub(path);
  LSTATUS status = RegOpenKeyExA(BaseKey(base), sub.c_str(), 0, Sam(rights, view), &key);
  if (status == ERROR_SUCCESS) {
    out = reinterpret_cast<Handle>(key);
  }
  return status;
}

Status Win32Registry::Create(Base base, std::string_view path, Rights rights, RegistryView view,
                             Handle& out, bool& created) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  const std::string sub(path);
  LSTATUS status = RegCreateKeyExA(BaseKey(base), sub.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   Sam(rights, view), nullptr, &key, &disposition);
  if (status == ERROR_SUCCESS) {
    out = reinterpret_cast<Handle>(key);
    created = disposition == REG_CREATED_NEW_KEY;
  }
  return status;
}

Status Win32Registry::Query(Handle key, std::string_view name, std::size_t capacity, RegValue& out,
                            std::size_t& size) {
  const std::string value_name(name);
  DWORD type = REG_NONE;
  DWORD bytes = static_cast<DWORD>(capacity);
  if (capacity == 0) {
    LSTATUS status =
        RegQueryValueExA(Key(key), value_name.c_str(), nullptr, &type, nullptr, &bytes);
    if (status == ERROR_SUCCESS) {
      out.type = static_cast<ValueType>(type);
      out.data.clear();
      size = bytes;
    }
    return status;
  }
  std::vector<std::uint8_t> data(capacity);
  LSTATUS status =
      RegQueryValueExA(Key(key), value_name.c_str(), nullptr, &type, data.data(), &bytes);
  size = bytes;
  if (status == ERROR_SUCCESS) {
    data.resize(bytes);
    out.type = static_cast<ValueType>(type);
    out.data = std::move(data);
  }
  return status;
}

Status Win32Registry::Set(Handle key, std::string_view name, ValueType type,
                          const std::vector<std::uint8_t>& data) {
  const std::string value_name(name);
  return RegSetValueExA(Key(key), value_name.c_str(), 0, static_cast<DWORD>(type), data.data(),
                        static_cast<DWORD>(data.size()));
}

Status Win32Registry::EnumKey(Handle key, std::uint32_t index, std::size_t capacity,
                              std::string& name) {
  std::string buffer(capacity, '\0');
  DWORD length = static_cast<DWORD>(capacity);
  LSTATUS status =
      RegEnumKeyExA(Key(key), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
  if (status == ERROR_SUCCESS) {
    buffer.resize(length);
    name = std::move(buffer);
  }
  return status;
}

Status Win32Registry::EnumValue(Handle key, std::uint32_t index, std::size_t name_capacity,
                                std::size_t data_capacity, std::string& name) {
  std::string buffer(name_capacity, '\0');
  std::vector<std::uint8_t> data(data_capacity);
  DWORD length = static_cast<DWORD>(name_capacity);
  DWORD data_length = static_cast<DWORD>(data_capacity);
  DWORD type = REG_NONE;
  LSTATUS status = RegEnumValueA(Key(key), index, buffer.data(), &length, nullptr, &type,
                                 data.data(), &data_length);
  if (status == ERROR_SUCCESS) {
    buffer.resize(length);
    name = std::move(buffer);
  }
  return status;
}

Status Win32Registry::SubKeyCount(Handle key, std::uint32_t& count) {
  DWORD sub_keys = 0;
  LSTATUS status = RegQueryInfoKeyA(Key(key), nullptr, nullptr, nullptr, &sub_keys, nullptr,
                                    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  if (status == ERROR_SUCCESS) {
    count = sub_keys;
  }
  return status;
}

Status Win32Registry::DeleteValue(Handle key, std::string_view name) {
  const std::string value_name(name);
  return RegDeleteValueA(Key(key), value_name.c_str());
}

Status Win32Registry::DeleteKey(Handle key, std::string_view name) {
  const std::string sub(name);
  return RegDeleteKeyA(Key(key), sub.c_str());
}

void Win32Registry::Close(Handle key) noexcept {
  RegCloseKey(Key(key));
}

}  // namespace tarnwell

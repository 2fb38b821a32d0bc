#pragma once

#include "platform/registry.h"

namespace tarnwell {

// Windows' own registry through advapi32. NativeView means what a 32-bit program sees by
// default: no view flag in the 32-bit build, KEY_WOW64_32KEY in the 64-bit build, so that
// both builds behave as the shipping 32-bit program.
class Win32Registry final : public Registry {
 public:
  Status Open(Base base, std::string_view path, Rights rights, RegistryView view,
              Handle& out) override;
  Status Create(Base base, std::string_view path, Rights rights, RegistryView view, Handle& out,
                bool& created) override;
  Status Query(Handle key, std::string_view name, std::size_t capacity, RegValue& out,
               std::size_t& size) override;
  Status Set(Handle key, std::string_view name, ValueType type,
             const std::vector<std::uint8_t>& data) override;
  Status EnumKey(Handle key, std::uint32_t index, std::size_t capacity, std::string& name) override;
  Status EnumValue(Handle key, std::uint32_t index, std::size_t name_capacity,
                   std::size_t data_capacity, std::string& name) override;
  Status SubKeyCount(Handle key, std::uint32_t& count) override;
  Status DeleteValue(Handle key, std::string_view name) override;
  Status DeleteKey(Handle key, std::string_view name) override;
  void Close(Handle key) noexcept override;
};

}  // namespace tarnwell

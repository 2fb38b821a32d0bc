#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace tarnwell {

enum class Root { CurrentUser, LocalMachine };

// NativeView is what a 32-bit program sees by default: on 64-bit Windows the 32-bit branch
// of HKLM\Software. View64 is the 64-bit branch (KEY_WOW64_64KEY); on 32-bit Windows both
// views are the same.
enum class RegistryView { NativeView, View64 };

// Read (KEY_READ), Write (KEY_WRITE), Full (KEY_ALL_ACCESS). Full includes both others.
enum class Rights { Read, Write, Full };

enum class ValueType : std::uint32_t {
  None = 0,
  String = 1,        // REG_SZ
  ExpandString = 2,  // REG_EXPAND_SZ
  Binary = 3,        // REG_BINARY
  Dword = 4,         // REG_DWORD
};

std::string_view RootName(Root root);  // "HKCU" or "HKLM"
std::string_view TypeName(ValueType type);

// A value as the registry returns it: its type and its bytes.
struct RegValue {
  ValueType type = ValueType::None;
  std::vector<std::uint8_t> data;

  // The bytes up to the first NUL, whatever the type: how the program takes text it queried.
  std::string TextUpToNul() const;
  // The first four bytes as a little-endian number (fewer bytes are zero-extended).
  std::uint32_t Number() const;
  bool IsText() const { return type == ValueType::String || type == ValueType::ExpandString; }
};

// The buffers the program reads into, in bytes; a text's count includes its NUL.
inline constexpr std::size_t kDwordCapacity = 4;
inline constexpr std::size_t kShortTextCapacity = 257;  // 256 characters
inline constexpr std::size_t kLongTextCapacity = 2001;  // 2000 characters
// RegEnumKeyExA's buffer: 260 characters.
inline constexpr std::size_t kKeyNameCapacity = 261;
// The longest key name the registry allows: 255 characters.
inline constexpr std::size_t kMaxKeyNameCapacity = 256;
// A value's name, and its data, each, when the values of a key are listed.
inline constexpr std::size_t kValueEntryCapacity = 256;

// What a listing of sub-keys does at an index whose name cannot be read (too long for the
// capacity, or gone meanwhile): go on with the next index, or end the listing there.
enum class IndexFailure { Skip, Stop };

// Whether two key names name the same key: the registry ignores letter case.
bool SameKeyName(std::string_view a, std::string_view b);

std::vector<std::uint8_t> StringData(std::string_view text);  // text and its NUL
std::vector<std::uint8_t> DwordData(std::uint32_t value);     // four bytes, little-endian

// The registry backend: Windows' registry, or the in-memory model. Handle-based like the
// Windows calls; code uses it through RegKey, which owns the handles.
class Registry {
 public:
  using Handle = std::uintptr_t;

  // Where a path starts: a root, or an open key (whose view then applies).
  struct Base {
    Root root = Root::CurrentUser;
    Handle key = 0;  // 0: the root itself
  };

  virtual ~Registry() = default;

  // Opens base\path; never creates. Fails with kFileNotFound when missing and
  // kAccessDenied when the rights are refused.
  virtual Status Open(Base base, std::string_view path, Rights rights, RegistryView view,
                      Handle& out) = 0;
  // Opens base\path or creates it with every missing level; `created` tells which.
  virtual Status Create(Base base, std::string_view path, Rights rights, RegistryView view,
                        Handle& out, bool& created) = 0;
  // Reads a value into at most `capacity` bytes. kMoreData when it does not fit; `size`
  // then holds the size needed. A capacity of 0 only asks for type and size.
  virtual Status Query(Handle key, std::string_view name, std::size_t capacity, RegValue& out,
                       std::size_t& size) = 0;
  virtual Status Set(Handle key, std::string_view name, ValueType type,
                     const std::vector<std::uint8_t>& data) = 0;
  // The sub-key name at `index`; `capacity` counts the NUL, as RegEnumKeyExA's does.
  virtual Status EnumKey(Handle key, std::uint32_t index, std::size_t capacity,
                         std::string& name) = 0;
  // The value name at `index`; fails with kMoreData when the name (with its NUL) or the
  // data do not fit their capacities.
  virtual Status EnumValue(Handle key, std::uint32_t index, std::size_t name_capacity,
                           std::size_t data_capacity, std::string& name) = 0;
  virtual Status SubKeyCount(Handle key, std::uint32_t& count) = 0;
  // Deletes a value of `key`; kFileNotFound when there is none of that name.
  virtual Status DeleteValue(Handle key, std::string_view name) = 0;
  // Deletes the sub-key `name` of `key`, which must have no sub-keys of its own.
  virtual Status DeleteKey(Handle key, std::string_view name) = 0;
  virtual void Close(Handle key) noexcept = 0;
};

// One open registry key. Move-only; closes its handle when it goes. The view it was opened
// in applies to every sub-key opened from it. A failed read leaves the caller's output as
// it was.
class RegKey {
 public:
  RegKey() = default;
  ~RegKey() { Close(); }
  RegKey(RegKey&& other) noexcept;
  RegKey& operator=(RegKey&& other) noexcept;
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;

  [[nodiscard]] Status Open(Registry& registry, Root root, std::string_view path, Rights rights,
                            RegistryView view);
  // `created`, when given, tells whether the key was made just now.
  [[nodiscard]] Status Create(Registry& registry, Root root, std::string_view path, Rights rights,
                              RegistryView view, bool* created = nullptr);
  [[nodiscard]] Status OpenSubKey(std::string_view path, Rights rights, RegKey& out) const;

  bool Valid() const { return registry_ != nullptr; }

  [[nodiscard]] Status Query(std::string_view name, std::size_t capacity, RegValue& out) const;
  // Type and size of a value, without its data.
  [[nodiscard]] Status QueryInfo(std::string_view name, ValueType& type, std::size_t& size) const;
  // A value read whole, however large.
  [[nodiscard]] Status QueryWhole(std::string_view name, RegValue& out) const;

  // Typed reads give nothing when the value is missing, larger than the capacity, or of a
  // type they do not take. ReadText takes the bytes up to the first NUL of any type.
  std::optional<std::string> ReadText(std::string_view name, std::size_t capacity) const;
  // Only REG_SZ and REG_EXPAND_SZ (unexpanded).
  std::optional<std::string> ReadString(std::string_view name, std::size_t capacity) const;
  std::optional<std::string> ReadWholeString(std::string_view name) const;  // however long
  // A REG_DWORD, read into kDwordCapacity bytes.
  std::optional<std::uint32_t> ReadDword(std::string_view name) const;

  [[nodiscard]] Status SetString(std::string_view name, std::string_view text);
  [[nodiscard]] Status SetExpandString(std::string_view name, std::string_view text);
  [[nodiscard]] Status SetDword(std::string_view name, std::uint32_t value);
  [[nodiscard]] Status Set(std::string_view name, ValueType type,
                           const std::vector<std::uint8_t>& data);

  [[nodiscard]] Status EnumKey(std::uint32_t index, std::size_t capacity, std::string& name) const;
  [[nodiscard]] Status EnumValue(std::uint32_t index, std::size_t name_capacity,
                                 std::size_t data_capacity, std::string& name) const;
  [[nodiscard]] Status SubKeyCount(std::uint32_t& count) const;
  // The sub-keys' names at the indexes below SubKeyCount; none when it fails.
  std::vector<std::string> SubKeyNames(std::size_t capacity, IndexFailure on_failure) const;
  // The value names from index 0 up to the first that cannot be listed: the end, or a
  // name or data larger than its capacity.
  std::vector<std::string> ValueNames(std::size_t name_capacity, std::size_t data_capacity) const;
  [[nodiscard]] Status DeleteValue(std::string_view name);
  [[nodiscard]] Status DeleteSubKey(std::string_view name);

  void Close();

 private:
  RegKey(Registry& registry, Registry::Handle handle, RegistryView view)
      : registry_(&registry), handle_(handle), view_(view) {}

  Registry* registry_ = nullptr;
  Registry::Handle handle_ = 0;
  RegistryView view_ = RegistryView::NativeView;
};

}  // namespace tarnwell

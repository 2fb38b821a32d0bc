#pragma once

// Registry files (.reg): the backup written before a save, the restore from it, and the
// export of settings for another PC. Written as REGEDIT4 (ANSI, CRLF), which Windows' own
// `reg import` and the Registry Editor take; read from REGEDIT4 and from the Registry
// Editor's own export format ("Windows Registry Editor Version 5.00", UTF-16LE).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/registry.h"

namespace tarnwell {

struct RegFileValue {
  std::string name;               // empty: the key's default value, "@"
  std::optional<RegValue> value;  // nothing: the value is deleted, "Name"=-
  std::size_t line = 0;           // where a file read gave it, from 1; not compared

  friend bool operator==(const RegFileValue& a, const RegFileValue& b);
};

struct RegFileKey {
  Root root = Root::CurrentUser;
  std::string path;  // below the root; empty: the root itself
  std::vector<RegFileValue> values;
  std::size_t line = 0;  // where a file read gave it, from 1; not compared

  friend bool operator==(const RegFileKey& a, const RegFileKey& b) {
    return a.root == b.root && a.path == b.path && a.values == b.values;
  }
};

// Why a file was refused, at its first offence: a line from 1, or 0 for the whole file.
struct RegFileError {
  std::size_t line = 0;
  std::string text;

  friend bool operator==(const RegFileError&, const RegFileError&) = default;
};

// "HKEY_CURRENT_USER" or "HKEY_LOCAL_MACHINE", as a key line names the root.
std::string_view RegFileRootName(Root root);

// The largest file read: a backup of the program's settings is a few kilobytes.
inline constexpr std::size_t kMaxRegFileSize = 1024 * 1024;

// The keys in their order, each value in its order. `comment` opens the file as "; " lines.
// Names, paths and the comment are ANSI bytes written as they are; a name or path must not
// hold a line break or a NUL, which a registry file has no way to write.
std::string WriteRegFile(const std::vector<RegFileKey>& keys, std::string_view comment);

// The keys of a file, in the file's order. Texts of a UTF-16 file become ANSI bytes, one per
// character; a character beyond 0xFF refuses the file, as does a key deletion "[-...]", a
// root other than HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE, and any file over
// kMaxRegFileSize bytes.
std::variant<std::vector<RegFileKey>, RegFileError> ReadRegFile(
    std::span<const std::uint8_t> bytes);

}  // namespace tarnwell

#pragma once

#include <optional>
#include <string>

#include "settings/reg_file.h"

namespace tarnwell::fuzz {

// What must hold for any bytes: a file that ReadRegFile accepts, written by WriteRegFile and
// read again, gives the same keys. The fault, or nothing.
inline std::optional<std::string> RoundTripFault(std::span<const std::uint8_t> bytes) {
  const auto read = ReadRegFile(bytes);
  if (std::holds_alternative<RegFileError>(read)) {
    return std::nullopt;
  }
  const std::string text = WriteRegFile(std::get<0>(read), "written again");
  if (ReadRegFile({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}) != read) {
    return "written again, the file reads differently:\n" + text;
  }
  return std::nullopt;
}

}  // namespace tarnwell::fuzz

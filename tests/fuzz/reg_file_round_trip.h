#pragma once

// What must hold for any bytes given to ReadRegFile: a file it accepts, written again by
// WriteRegFile, reads back as the same keys and values.
#include <optional>
#include <string>

#include "settings/reg_file.h"

namespace tarnwell::fuzz {

// Whether the bytes were accepted, and what broke, if anything.
struct RoundTrip {
  bool accepted = false;
  std::optional<std::string> broken;
};

inline RoundTrip CheckRoundTrip(std::span<const std::uint8_t> bytes) {
  const auto read = ReadRegFile(bytes);
  const auto* keys = std::get_if<std::vector<RegFileKey>>(&read);
  if (keys == nullptr) {
    return {};
  }
  const std::string written = WriteRegFile(*keys, "written again");
  const auto again =
      ReadRegFile({reinterpret_cast<const std::uint8_t*>(written.data()), written.size()});
  if (const auto* error = std::get_if<RegFileError>(&again)) {
    if (written.size() > kMaxRegFileSize) {
      return {true, std::nullopt};  // an accepted file written longer, past the limit
    }
    return {true, "written file refused at line " + std::to_string(error->line) + ": " +
                      error->text + "\n" + written};
  }
  if (std::get<std::vector<RegFileKey>>(again) != *keys) {
    return {true, "written file reads back differently:\n" + written};
  }
  return {true, std::nullopt};
}

}  // namespace tarnwell::fuzz

#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tarnwell {

// A decoded picture: rows top to bottom, three bytes per pixel in blue, green, red order,
// rows packed without padding.
struct BgrImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;
};

// Decodes a JPEG held in memory. Damaged or truncated data gives nothing; it never stops
// the program.
std::optional<BgrImage> DecodeJpeg(std::span<const std::uint8_t> jpeg);

}  // namespace tarnwell

#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "ui/win32/handles.h"

namespace tarnwell {

// Where a window's pictures come from, by the name its layout gives.
class PictureSource {
 public:
  virtual ~PictureSource() = default;
  // Null when the picture is missing or cannot be decoded: the control then shows none.
  virtual UniqueBitmap Load(std::string_view name) = 0;
};

// The program's own pictures: JPEG data (RCDATA) decoded with libjpeg, or bitmaps.
class ResourcePictures final : public PictureSource {
 public:
  explicit ResourcePictures(HINSTANCE module) : module_(module) {}
  UniqueBitmap Load(std::string_view name) override;

 private:
  HINSTANCE module_;
};

// A bitmap from JPEG data; null when the data does not decode.
UniqueBitmap BitmapFromJpeg(std::span<const std::uint8_t> jpeg);

}  // namespace tarnwell

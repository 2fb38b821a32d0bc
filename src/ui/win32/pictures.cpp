#include "ui/win32/pictures.h"

#include <cstring>
#include <string>

#include "ui/jpeg_image.h"

namespace tarnwell {

UniqueBitmap BitmapFromJpeg(std::span<const std::uint8_t> jpeg) {
  auto image = DecodeJpeg(jpeg);
  if (!image) {
    return nullptr;
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = image->width;
  info.bmiHeader.biHeight = -image->height;  // top-down rows, as decoded
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || bits == nullptr) {
    return nullptr;
  }
  // DIB rows are padded to four bytes.
  const std::size_t row = static_cast<std::size_t>(image->width) * 3;
  const std::size_t stride = (row + 3) & ~std::size_t{3};
  for (int y = 0; y < image->height; ++y) {
    std::memcpy(static_cast<std::uint8_t*>(bits) + y * stride, image->pixels.data() + y * row, row);
  }
  return bitmap;
}

UniqueBitmap ResourcePictures::Load(std::string_view name) {
  const std::string resource(name);
  if (HRSRC found = FindResourceA(module_, resource.c_str(), RT_RCDATA)) {
    HGLOBAL loaded = LoadResource(module_, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (data == nullptr) {
      return nullptr;
    }
    return BitmapFromJpeg({static_cast<const std::uint8_t*>(data), SizeofResource(module_, found)});
  }
  return UniqueBitmap(static_cast<HBITMAP>(
      LoadImageA(module_, resource.c_str(), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
}

}  // namespace tarnwell

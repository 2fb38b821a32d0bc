#include "ui/jpeg_image.h"

#include <csetjmp>
#include <cstdio>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace tarnwell {
namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf escape;
  bool damaged;  // a warning: corrupt or truncated data that libjpeg would paper over
};

[[noreturn]] void OnError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->escape, 1);
}

void NoteWarning(j_common_ptr info, int level) {
  if (level < 0) {
    reinterpret_cast<ErrorManager*>(info->err)->damaged = true;
  }
}
void NoOutput(j_common_ptr) {}

// libjpeg reports errors by calling error_exit, which must not return; it jumps back here.
// Nothing with a destructor lives between setjmp and the decoder calls: the output buffer
// is owned by the caller and sized before decoding starts.
bool Decode(jpeg_decompress_struct& info, ErrorManager& errors, std::span<const std::uint8_t> jpeg,
            BgrImage& image) {
  if (setjmp(errors.escape) != 0) {
    return false;
  }
  jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
    return false;
  }
  info.out_color_space = JCS_EXT_BGR;
  jpeg_start_decompress(&info);
  if (info.output_components != 3 || info.output_width == 0 || info.output_height == 0 ||
      info.output_width > 4096 || info.output_height > 4096) {
    return false;
  }
  image.width = static_cast<int>(info.output_width);
  image.height = static_cast<int>(info.output_height);
  image.pixels.resize(static_cast<std::size_t>(image.width) * image.height * 3);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row =
        image.pixels.data() + static_cast<std::size_t>(info.output_scanline) * image.width * 3;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  return true;
}

}  // namespace

std::optional<BgrImage> DecodeJpeg(std::span<const std::uint8_t> jpeg) {
  if (jpeg.empty()) {
    return std::nullopt;
  }
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnError;
  errors.base.emit_message = NoteWarning;
  errors.base.output_message = NoOutput;
  jpeg_create_decompress(&info);
  BgrImage image;
  const bool decoded = Decode(info, errors, jpeg, image);
  jpeg_destroy_decompress(&info);
  if (!decoded || errors.damaged) {
    return std::nullopt;
  }
  return image;
}

}  // namespace tarnwell

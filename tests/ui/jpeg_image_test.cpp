#include "ui/jpeg_image.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <vector>

namespace tarnwell {
namespace {

std::vector<std::uint8_t> Banner() {
  std::ifstream file(TARNWELL_BANNER_JPEG, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(JpegImage, DecodesTheBanner) {
  const auto jpeg = Banner();
  ASSERT_FALSE(jpeg.empty());
  auto image = DecodeJpeg(jpeg);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(61, image->width);
  EXPECT_EQ(309, image->height);
  ASSERT_EQ(61u * 309u * 3u, image->pixels.size());
  // The banner is dark blue to teal, not a grey placeholder: blue outweighs red.
  const std::uint8_t* corner = image->pixels.data();
  EXPECT_GT(corner[0], corner[2]);
}

TEST(JpegImage, DamagedDataGivesNoPicture) {
  const auto jpeg = Banner();
  ASSERT_GT(jpeg.size(), 1000u);
  std::vector<std::vector<std::uint8_t>> damaged = {
      {},
      {0xFF, 0xD8},
      std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + jpeg.size() / 2),
      std::vector<std::uint8_t>(jpeg.begin() + 2, jpeg.end()),
      std::vector<std::uint8_t>(4096, 0xFF),
  };
  auto scrambled = jpeg;
  for (std::size_t i = 200; i < scrambled.size(); i += 7) {
    scrambled[i] ^= 0x5A;
  }
  damaged.push_back(scrambled);
  for (const auto& data : damaged) {
    EXPECT_FALSE(DecodeJpeg(data).has_value()) << data.size() << " bytes";
  }
}

}  // namespace
}  // namespace tarnwell

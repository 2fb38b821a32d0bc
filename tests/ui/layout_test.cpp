// The layout tables every window binding builds from, anchoring, and the banner's decoding.
#include <fstream>
#include <gmock/gmock.h>
#include <iterator>
#include <set>

#include "support/layouts.h"
#include "ui/jpeg_image.h"

namespace tarnwell {
namespace {

class EachLayout : public testing::TestWithParam<const WindowLayout*> {};

// Every control once, under a parent listed before it, and every id of the range has a row.
TEST_P(EachLayout, EveryControlOnceWithItsParentBeforeIt) {
  std::set<ControlId> seen;
  std::set<std::string_view> names;
  for (const auto& row : GetParam()->controls)
    EXPECT_TRUE((row.parent == kNoControl || seen.count(row.parent)) &&
                seen.insert(row.id).second && names.insert(row.name).second &&
                GetParam()->Find(row.id) == &row)
        << row.name;
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(std::size_t(*seen.rbegin() - *seen.begin() + 1), GetParam()->controls.size());
}

INSTANTIATE_TEST_SUITE_P(Windows, EachLayout, testing::ValuesIn(EveryLayout()), LayoutName());

// Grown, a control grows between two anchored edges, follows a far one and stays at a near one.
TEST(Layout, AnchoredEdges) {
  const LayoutRect at{8, 32, 489, 225};
  EXPECT_EQ((LayoutRect{8, 32, 589, 325}), AnchoredRect(at, kAnchorAll, 100, 100));
  EXPECT_EQ((LayoutRect{108, 132, 489, 225}),
            AnchoredRect(at, kAnchorRight | kAnchorBottom, 100, 100));
  EXPECT_EQ(at, AnchoredRect(at, kAnchorLeft | kAnchorTop, 100, 100));
}

// The banner decodes to its size, blue outweighing red; damaged data gives no picture.
TEST(JpegImage, DecodesTheBannerAndRefusesDamage) {
  std::ifstream file(TARNWELL_BANNER_JPEG, std::ios::binary);
  const std::vector<std::uint8_t> jpeg{std::istreambuf_iterator<char>(file), {}};
  const auto image = DecodeJpeg(jpeg);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ((std::pair{61, 309}), (std::pair{image->width, image->height}));
  ASSERT_EQ(61u * 309u * 3u, image->pixels.size());
  EXPECT_GT(image->pixels[0], image->pixels[2]);
  auto scrambled = jpeg;
  for (std::size_t i = 200; i < scrambled.size(); i += 7)
    scrambled[i] ^= 0x5A;
  for (const auto& data : {std::vector<std::uint8_t>{0xFF, 0xD8}, scrambled,
                           std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + jpeg.size() / 2),
                           std::vector<std::uint8_t>(jpeg.begin() + 2, jpeg.end())})
    EXPECT_FALSE(DecodeJpeg(data).has_value()) << data.size() << " bytes";
}

}  // namespace
}  // namespace tarnwell

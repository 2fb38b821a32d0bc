// The layout tables every window binding builds from, and the banner's decoding.
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
  for (const auto& row : GetParam()->controls) {
    EXPECT_TRUE(names.insert(row.name).second) << row.name;
    EXPECT_TRUE(row.parent == kNoControl || seen.count(row.parent)) << row.name;
    EXPECT_TRUE(seen.insert(row.id).second) << row.name;
  }
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(std::size_t(*seen.rbegin() - *seen.begin() + 1), GetParam()->controls.size());
}

INSTANTIATE_TEST_SUITE_P(Windows, EachLayout, testing::ValuesIn(EveryLayout()), LayoutName());

// Controls fit their groups and pages (a page is smaller than its page control by the tabs).
TEST(MainWindowLayout, ControlsFitInsideTheirGroupsAndPages) {
  const WindowLayout& layout = MainWindowLayout();
  const LayoutRect tabs = layout.Find(tform1::MainTabControl)->rect;
  for (const auto& row : layout.controls) {
    if (row.parent == kNoControl || row.kind == ControlKind::Page)
      continue;
    const auto& parent = *layout.Find(row.parent);
    const bool page = parent.kind == ControlKind::Page;
    EXPECT_GE(row.rect.left, 0) << row.name;
    EXPECT_LE(row.rect.left + row.rect.width, page ? tabs.width - 8 : parent.rect.width)
        << row.name;
    EXPECT_LE(row.rect.top + row.rect.height, page ? tabs.height - 28 : parent.rect.height)
        << row.name;
  }
}

// Grown by 100 each way, the add-in window's controls keep their distances to the edges
// they are anchored to; the radio items share the group's height below its caption.
TEST(AddinsWindowLayout, AnchoredEdgesAndRadioItems) {
  const WindowLayout& layout = AddinsWindowLayout();
  const LayoutRect memo = layout.Find(form7::memoLoadDesc)->rect;
  EXPECT_EQ((LayoutRect{8, 32, 589, 325}),
            AnchoredRect(layout.Find(form7::lbAddins)->rect, kAnchorAll, 100, 100));
  EXPECT_EQ((LayoutRect{418, 572, 179, 33}), AnchoredRect(layout.Find(form7::btnClose)->rect,
                                                          kAnchorRight | kAnchorBottom, 100, 100));
  EXPECT_EQ((LayoutRect{176, 460, 421, 105}),
            AnchoredRect(memo, kAnchorLeft | kAnchorRight | kAnchorBottom, 100, 100));
  EXPECT_EQ(memo, AnchoredRect(memo, kAnchorLeft | kAnchorTop, 100, 100));
  const LayoutRect group = layout.Find(form7::rgLoadBehavior)->rect;
  int top = group.top + 16;
  for (int index = 0; index < 7; ++index) {
    const LayoutRect item = RadioItemRect(group, index, 7);
    EXPECT_EQ((LayoutRect{16, top, 137, item.height}), item) << index;
    top += item.height;
  }
  EXPECT_EQ(group.top + group.height - 4, top);
}

// The banner decodes to its size, blue outweighing red; damaged data gives no picture.
TEST(JpegImage, DecodesTheBannerAndRefusesDamage) {
  std::ifstream file(TARNWELL_BANNER_JPEG, std::ios::binary);
  const std::vector<std::uint8_t> jpeg{std::istreambuf_iterator<char>(file), {}};
  ASSERT_GT(jpeg.size(), 1000u);
  const auto image = DecodeJpeg(jpeg);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ((std::pair{61, 309}), (std::pair{image->width, image->height}));
  ASSERT_EQ(61u * 309u * 3u, image->pixels.size());
  EXPECT_GT(image->pixels[0], image->pixels[2]);
  auto scrambled = jpeg;
  for (std::size_t i = 200; i < scrambled.size(); i += 7)
    scrambled[i] ^= 0x5A;
  for (const auto& data : {std::vector<std::uint8_t>{}, std::vector<std::uint8_t>{0xFF, 0xD8},
                           std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + jpeg.size() / 2),
                           std::vector<std::uint8_t>(jpeg.begin() + 2, jpeg.end()),
                           std::vector<std::uint8_t>(4096, 0xFF), scrambled}) {
    EXPECT_FALSE(DecodeJpeg(data).has_value()) << data.size() << " bytes";
  }
}

}  // namespace
}  // namespace tarnwell

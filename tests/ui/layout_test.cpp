#include <gmock/gmock.h>
#include <set>
#include <string>

#include "support/layouts.h"

namespace tarnwell {
namespace {

using namespace tform1;

std::vector<std::string> Names(const WindowLayout& layout, bool (*keep)(const ControlLayout&)) {
  std::vector<std::string> names;
  for (const auto& row : layout.controls) {
    if (keep(row)) {
      names.emplace_back(row.name);
    }
  }
  return names;
}

class EachLayout : public testing::TestWithParam<const WindowLayout*> {};

TEST_P(EachLayout, EveryControlOnceWithItsParentBeforeIt) {
  const WindowLayout& layout = *GetParam();
  std::set<ControlId> seen;
  std::set<std::string_view> names;
  for (const auto& row : layout.controls) {
    EXPECT_TRUE(names.insert(row.name).second) << row.name;
    EXPECT_TRUE(row.parent == kNoControl || seen.count(row.parent)) << row.name;
    EXPECT_TRUE(seen.insert(row.id).second) << row.name;
  }
  // Every id of the window, from the first to the last, has its row.
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(static_cast<std::size_t>(*seen.rbegin() - *seen.begin() + 1), layout.controls.size());
}

INSTANTIATE_TEST_SUITE_P(Windows, EachLayout, testing::ValuesIn(EveryLayout()), LayoutName());

TEST(MainWindowLayout, ControlsFitInsideTheirGroupsAndPages) {
  const WindowLayout& layout = MainWindowLayout();
  const auto& tabs = *layout.Find(MainTabControl);
  for (const auto& row : layout.controls) {
    if (row.parent == kNoControl || row.kind == ControlKind::Page) {
      continue;
    }
    const auto& parent = *layout.Find(row.parent);
    // A page is smaller than its page control by the tabs and the border.
    const int width = parent.kind == ControlKind::Page ? tabs.rect.width - 8 : parent.rect.width;
    const int height =
        parent.kind == ControlKind::Page ? tabs.rect.height - 28 : parent.rect.height;
    EXPECT_GE(row.rect.left, 0) << row.name;
    EXPECT_LE(row.rect.left + row.rect.width, width) << row.name;
    EXPECT_LE(row.rect.top + row.rect.height, height) << row.name;
  }
}

TEST(MainWindowLayout, StartStateHintsAndPages) {
  const WindowLayout& layout = MainWindowLayout();
  EXPECT_THAT(Names(layout, [](const auto& row) { return !row.enabled; }),
              testing::UnorderedElementsAre("btnRevert", "edDocCachePath", "btnBrowse5",
                                            "cbEnableDEP", "btnBrowse6"));
  EXPECT_THAT(Names(layout, [](const auto& row) { return row.colour == FieldColour::Silver; }),
              testing::ElementsAre("edDocCachePath"));
  EXPECT_THAT(Names(layout, [](const auto& row) { return !row.hint.empty(); }),
              testing::ElementsAre("btnHelp", "btnAddOne", "btnAddAll", "btnDelOne", "btnDelAll"));
  EXPECT_THAT(Names(layout, [](const auto& row) { return row.kind == ControlKind::Page; }),
              testing::ElementsAre("DefaultPaths", "AttachmentSecurity", "Miscellaneous",
                                   "Exchange", "CommandLine"));
  // Everything on the pages is bold.
  for (const auto& row : layout.controls) {
    if (row.parent != kNoControl) {
      EXPECT_TRUE(row.bold) << row.name;
    }
  }
}

// The add-in window keeps a margin of 13 pixels right of its controls and 15 below them;
// grown, they keep their distances to the edges they are anchored to.
TEST(AddinsWindowLayout, ControlsFitTheClientAreaAndKeepTheirAnchoredEdges) {
  const WindowLayout& layout = AddinsWindowLayout();
  for (const auto& row : layout.controls) {
    EXPECT_LE(row.rect.left + row.rect.width, layout.client_width - 13) << row.name;
    EXPECT_LE(row.rect.top + row.rect.height, layout.client_height - 15) << row.name;
  }
  const LayoutRect list = layout.Find(form7::lbAddins)->rect;
  const LayoutRect close = layout.Find(form7::btnClose)->rect;
  const LayoutRect memo = layout.Find(form7::memoLoadDesc)->rect;
  EXPECT_EQ((LayoutRect{8, 32, 589, 325}), AnchoredRect(list, kAnchorAll, 100, 100));
  EXPECT_EQ((LayoutRect{418, 572, 179, 33}),
            AnchoredRect(close, kAnchorRight | kAnchorBottom, 100, 100));
  EXPECT_EQ((LayoutRect{176, 460, 421, 105}),
            AnchoredRect(memo, kAnchorLeft | kAnchorRight | kAnchorBottom, 100, 100));
  EXPECT_EQ(memo, AnchoredRect(memo, kAnchorLeft | kAnchorTop, 100, 100));

  // The radio items share the group's height below its caption, one after the other.
  const LayoutRect group = layout.Find(form7::rgLoadBehavior)->rect;
  int top = group.top + 16;
  for (int index = 0; index < 7; ++index) {
    const LayoutRect item = RadioItemRect(group, index, 7);
    EXPECT_EQ(top, item.top) << index;
    EXPECT_EQ((std::pair{16, 137}), (std::pair{item.left, item.width})) << index;
    top += item.height;
  }
  EXPECT_EQ(group.top + group.height - 4, top);
}

}  // namespace
}  // namespace tarnwell

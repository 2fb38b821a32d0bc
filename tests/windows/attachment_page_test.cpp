#include "windows/attachment_page.h"

#include <gmock/gmock.h>

#include "attachments/allow_list.h"
#include "fakes/memory_form.h"
#include "support/scripted_dialogs.h"
#include "ui/main_layout.h"

namespace tarnwell {
namespace {

using namespace tform1;
using testing::ElementsAre;

constexpr const char* kNoneBlocked = "There is no item selected in the blocked list.";

class ListMoves : public testing::Test {
 protected:
  ListMoves() { FillAttachmentLists(form_, ""); }
  void AddOne() { MoveSelectedItem(form_, dialogs_, lbBlocked, lbAllowed, kNoneBlocked); }

  MemoryForm form_{MainWindowLayout()};
  ScriptedDialogs dialogs_;
};

TEST_F(ListMoves, MovedItemGoesToTheEndAndItsSuccessorIsSelected) {
  form_.Select(lbBlocked, 14);  // exe
  AddOne();
  EXPECT_THAT(form_.Items(lbAllowed), ElementsAre("exe"));
  EXPECT_EQ(14, form_.Selected(lbBlocked));
  EXPECT_EQ("fxp", form_.Items(lbBlocked)[14]);
  EXPECT_EQ(-1, form_.Selected(lbAllowed));

  form_.Select(lbAllowed, 0);
  MoveSelectedItem(form_, dialogs_, lbAllowed, lbBlocked, "unused");
  EXPECT_EQ("exe", form_.Items(lbBlocked).back());  // catalogue order is lost
}

TEST_F(ListMoves, MovingTheLastItemLeavesNoSelectionAndThenSaysSo) {
  form_.Select(lbBlocked, 75);
  AddOne();
  EXPECT_EQ(-1, form_.Selected(lbBlocked));
  dialogs_.Expect(MessageKind::Information, kNoneBlocked);
  AddOne();
  EXPECT_EQ(1u, form_.Items(lbAllowed).size());
}

TEST_F(ListMoves, MoveAllKeepsTheOrderAndSelectsTheFirstOfTheTarget) {
  form_.Select(lbBlocked, 3);
  MoveAllItems(form_, lbBlocked, lbAllowed);
  EXPECT_TRUE(form_.Items(lbBlocked).empty());
  EXPECT_EQ(-1, form_.Selected(lbBlocked));
  EXPECT_EQ(76u, form_.Items(lbAllowed).size());
  EXPECT_EQ("ade", form_.Items(lbAllowed).front());
  EXPECT_EQ(0, form_.Selected(lbAllowed));

  MoveAllItems(form_, lbBlocked, lbAllowed);  // nothing to move: still selects the first
  EXPECT_EQ(76u, form_.Items(lbAllowed).size());
  form_.Select(lbAllowed, 5);
  MoveAllItems(form_, lbBlocked, lbAllowed);
  EXPECT_EQ(0, form_.Selected(lbAllowed));
}

}  // namespace
}  // namespace tarnwell

#include "attachments/allow_list.h"

#include <gmock/gmock.h>
#include <random>
#include <set>
#include <string>

#include "attachments/extension_catalogue.h"
#include "fakes/memory_form.h"
#include "fakes/memory_registry.h"
#include "settings/save.h"
#include "ui/main_layout.h"
#include "windows/attachment_page.h"

namespace tarnwell {
namespace {

using namespace tform1;
using testing::ElementsAre;

std::vector<std::string> AllowedAfterFilling(std::string_view stored) {
  MemoryForm form(MainWindowLayout());
  FillAttachmentLists(form, stored);
  return form.Items(lbAllowed);
}

TEST(AllowList, PiecesAreExactlyWhatStandsBetweenTheSeparators) {
  EXPECT_THAT(BreakSecList(""), ElementsAre(""));
  EXPECT_THAT(BreakSecList("exe"), ElementsAre("exe"));
  EXPECT_THAT(BreakSecList(";;exe;;"), ElementsAre("", "", "exe", "", ""));
  EXPECT_THAT(BreakSecList("EXE;.bat; com"), ElementsAre("EXE", ".bat", " com"));
  EXPECT_THAT(BreakSecList("exe;"), ElementsAre("exe", ""));
}

TEST(AllowList, FillingFollowsTheCatalogueNotTheStoredOrder) {
  EXPECT_THAT(AllowedAfterFilling("exe;bat"), ElementsAre("bat", "exe"));
  EXPECT_THAT(AllowedAfterFilling("zip;exe"), ElementsAre("exe"));
  EXPECT_THAT(AllowedAfterFilling("EXE;.bat; com"), testing::IsEmpty());
  EXPECT_THAT(AllowedAfterFilling(";;exe;;"), ElementsAre("exe"));
  EXPECT_THAT(AllowedAfterFilling("exe;exe"), ElementsAre("exe"));
  MemoryForm form(MainWindowLayout());
  FillAttachmentLists(form, "");
  EXPECT_EQ(76u, form.Items(lbBlocked).size());
  EXPECT_EQ("ade", form.Items(lbBlocked).front());
  EXPECT_EQ("xnk", form.Items(lbBlocked).back());
}

TEST(AllowList, ComposedListJoinsWithSeparatorsOnlyBetween) {
  EXPECT_EQ("", ComposeLevel1Remove({}));
  EXPECT_EQ("exe", ComposeLevel1Remove({"exe"}));
  std::vector<std::string> everything;
  for (const auto& row : kAttachmentExtensionCatalogue) {
    everything.emplace_back(row.extension);
  }
  const std::string all = ComposeLevel1Remove(everything);
  EXPECT_EQ(329u, all.size());
  EXPECT_NE(';', all.back());
  EXPECT_EQ(everything, AllowedAfterFilling(all));
}

// Many stored values, well formed or not, with up to several hundred pieces.
TEST(AllowList, EveryExtensionStandsInExactlyOneListAndComposingIsStable) {
  std::vector<std::string> vocabulary;
  for (const auto& row : kAttachmentExtensionCatalogue) {
    vocabulary.emplace_back(row.extension);
  }
  for (const char* odd : {"", "EXE", ".bat", " com", "zip", "exe ", "ps1;", "docx"}) {
    vocabulary.emplace_back(odd);
  }
  std::mt19937 random(20261206);
  for (int round = 0; round < 400; ++round) {
    const int pieces = std::uniform_int_distribution<int>(0, round % 3 == 0 ? 300 : 20)(random);
    std::string stored;
    for (int i = 0; i < pieces; ++i) {
      stored +=
          (i == 0 ? "" : ";") +
          vocabulary[std::uniform_int_distribution<std::size_t>(0, vocabulary.size() - 1)(random)];
    }
    SCOPED_TRACE(stored);
    MemoryForm form(MainWindowLayout());
    FillAttachmentLists(form, stored);
    const auto blocked = form.Items(lbBlocked);
    const auto allowed = form.Items(lbAllowed);
    ASSERT_EQ(76u, blocked.size() + allowed.size());
    std::set<std::string> seen(blocked.begin(), blocked.end());
    seen.insert(allowed.begin(), allowed.end());
    ASSERT_EQ(76u, seen.size());
    for (const auto& extension : allowed) {
      const auto stored_pieces = BreakSecList(stored);
      ASSERT_NE(stored_pieces.end(),
                std::find(stored_pieces.begin(), stored_pieces.end(), extension));
    }
    // What the lists do not show is kept: in order, never twice, never more than stored.
    const auto stored_pieces = BreakSecList(stored);
    const auto kept = UnlistedPieces(stored);
    ASSERT_LE(kept.size(), stored_pieces.size());
    ASSERT_EQ(kept.size(), std::set<std::string>(kept.begin(), kept.end()).size());
    auto next = stored_pieces.begin();
    for (const auto& piece : kept) {
      ASSERT_FALSE(piece.empty());
      ASSERT_EQ(0u, seen.count(piece));
      next = std::find(next, stored_pieces.end(), piece);
      ASSERT_NE(stored_pieces.end(), next) << piece << " out of order";
    }
    const std::string composed = ComposeLevel1Remove(allowed, kept);
    EXPECT_EQ(allowed, AllowedAfterFilling(composed));
    EXPECT_EQ(kept, UnlistedPieces(composed));
    EXPECT_EQ(composed,
              ComposeLevel1Remove(AllowedAfterFilling(composed), UnlistedPieces(composed)));
  }
}

// Pieces the lists do not show stay in the value: after the allowed ones, in stored order.
TEST(AllowList, UnlistedPiecesAreKeptAfterTheAllowedOnes) {
  EXPECT_THAT(UnlistedPieces("zip;exe;EXE;;zip; com"), ElementsAre("zip", "EXE", " com"));
  EXPECT_EQ("exe;zip;EXE", ComposeLevel1Remove({"exe"}, UnlistedPieces("zip;exe;EXE")));
  EXPECT_EQ("EXE;.bat; com;zip", ComposeLevel1Remove({}, UnlistedPieces("EXE;.bat; com;zip")));
}

TEST(AllowList, WrittenWhenEmptyOrChangedAndAlwaysAsOneText) {
  Journal journal;
  MemoryRegistry registry(MemoryRegistry::Windows::Bits64, &journal);
  registry.Key(Root::CurrentUser, "Software\\Microsoft\\Office\\14.0\\Outlook\\Security");
  const std::string key = "set HKCU\\Software\\Microsoft\\Office\\14.0\\Outlook\\Security ";
  WriteLevel1Remove(registry, OfficeVersion::V14, {"bat", "exe"}, "bat;exe");
  WriteLevel1Remove(registry, OfficeVersion::V14, {"bat", "exe"}, "exe;bat");
  WriteLevel1Remove(registry, OfficeVersion::V14, {}, "");
  WriteLevel1Remove(registry, OfficeVersion::V14, {"exe"}, "exe;");
  // An untouched page over a value with unlisted pieces writes it only when it was not yet
  // in that form; blocking everything keeps them.
  WriteLevel1Remove(registry, OfficeVersion::V14, {}, "EXE;.bat; com;zip");
  WriteLevel1Remove(registry, OfficeVersion::V14, {"exe"}, "zip;exe;EXE");
  WriteLevel1Remove(registry, OfficeVersion::V14, {"exe"}, "exe;zip;EXE");
  WriteLevel1Remove(registry, OfficeVersion::V14, {}, "exe;zip");
  EXPECT_THAT(
      journal.Entries(),
      ElementsAre(key + "Level1Remove REG_SZ \"bat;exe\"", key + "Level1Remove REG_SZ \"\"",
                  key + "Level1Remove REG_SZ \"exe\"", key + "Level1Remove REG_SZ \"exe;zip;EXE\"",
                  key + "Level1Remove REG_SZ \"zip\""));
}

}  // namespace
}  // namespace tarnwell

#include "attachments/allow_list.h"

#include <gmock/gmock.h>
#include <string>

#include "attachments/extension_catalogue.h"
#include "fakes/memory_form.h"
#include "fakes/memory_registry.h"
#include "settings/save.h"
#include "ui/main_layout.h"
#include "windows/attachment_page.h"

namespace tarnwell {
namespace {

using Texts = std::vector<std::string>;

Texts AllowedAfterFilling(std::string_view stored) {
  MemoryForm form(MainWindowLayout());
  FillAttachmentLists(form, stored);
  EXPECT_EQ(std::size(kAttachmentExtensionCatalogue),
            form.Items(tform1::lbAllowed).size() + form.Items(tform1::lbBlocked).size());
  return form.Items(tform1::lbAllowed);
}

// A stored value -> its pieces, the catalogue's allowed ones (in catalogue order, each
// once), the pieces no list shows (in stored order, each once), and the value composed again.
TEST(AllowList, StoredValueGivesPiecesListsAndTheValueAgain) {
  const struct {
    const char* stored;
    Texts pieces, allowed, unlisted;
    const char* composed;
  } rows[] = {
      {"", {""}, {}, {}, ""},
      {"exe;", {"exe", ""}, {"exe"}, {}, "exe"},
      {";;exe;;", {"", "", "exe", "", ""}, {"exe"}, {}, "exe"},
      {"exe;bat;exe", {"exe", "bat", "exe"}, {"bat", "exe"}, {}, "bat;exe"},
      {"EXE;.bat; com", {"EXE", ".bat", " com"}, {}, {"EXE", ".bat", " com"}, "EXE;.bat; com"},
      {"zip;exe;EXE;;zip",
       {"zip", "exe", "EXE", "", "zip"},
       {"exe"},
       {"zip", "EXE"},
       "exe;zip;EXE"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(row.pieces, BreakSecList(row.stored)) << row.stored;
    EXPECT_EQ(row.allowed, AllowedAfterFilling(row.stored)) << row.stored;
    EXPECT_EQ(row.unlisted, UnlistedPieces(row.stored)) << row.stored;
    EXPECT_EQ(row.composed, ComposeLevel1Remove(row.allowed, row.unlisted)) << row.stored;
  }
  Texts everything;
  for (const auto& row : kAttachmentExtensionCatalogue) {
    everything.emplace_back(row.extension);
  }
  EXPECT_EQ(everything, AllowedAfterFilling(ComposeLevel1Remove(everything)));
}

// Written when it differs from the stored value's composed form or is empty, always as text.
TEST(AllowList, WrittenWhenEmptyOrChanged) {
  Journal journal;
  MemoryRegistry registry(MemoryRegistry::Windows::Bits64, &journal);
  const std::string key = "Software\\Microsoft\\Office\\14.0\\Outlook\\Security";
  registry.Key(Root::CurrentUser, key);
  for (const auto& [allowed, stored] : {std::pair<Texts, const char*>{{"bat", "exe"}, "bat;exe"},
                                        {{"bat", "exe"}, "exe;bat"},
                                        {{}, ""},
                                        {{"exe"}, "exe;"},
                                        {{}, "EXE;.bat; com;zip"},
                                        {{"exe"}, "zip;exe;EXE"},
                                        {{"exe"}, "exe;zip;EXE"},
                                        {{}, "exe;zip"}}) {
    WriteLevel1Remove(registry, OfficeVersion::V14, allowed, stored);
  }
  const std::string set = "set HKCU\\" + key + " Level1Remove REG_SZ ";
  EXPECT_THAT(journal.Entries(),
              testing::ElementsAre(set + "\"bat;exe\"", set + "\"\"", set + "\"exe\"",
                                   set + "\"exe;zip;EXE\"", set + "\"zip\""));
}

}  // namespace
}  // namespace tarnwell

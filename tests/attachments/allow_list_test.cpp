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

// A stored value -> the catalogue's allowed ones (in catalogue order, each once), the pieces
// no list shows (in stored order, each once, case kept) and the value composed again, which is
// written, as text, when it differs from the stored one or is empty.
TEST(AllowList, StoredValueGivesTheListsAndTheValueWrittenAgain) {
  const struct {
    const char* stored;
    Texts allowed, unlisted;
    const char* composed;
    bool written;
  } rows[] = {
      {"", {}, {}, "", true},
      {";;exe;;", {"exe"}, {}, "exe", true},
      {"exe;bat;exe", {"bat", "exe"}, {}, "bat;exe", true},
      {"bat;exe", {"bat", "exe"}, {}, "bat;exe", false},
      {"zip;exe;EXE;;zip", {"exe"}, {"zip", "EXE"}, "exe;zip;EXE", true},
      {"exe;zip;EXE", {"exe"}, {"zip", "EXE"}, "exe;zip;EXE", false},
  };
  const std::string key = "Software\\Microsoft\\Office\\14.0\\Outlook\\Security";
  for (const auto& row : rows) {
    EXPECT_EQ(row.allowed, AllowedAfterFilling(row.stored)) << row.stored;
    EXPECT_EQ(row.unlisted, UnlistedPieces(row.stored)) << row.stored;
    EXPECT_EQ(row.composed, ComposeLevel1Remove(row.allowed, row.unlisted)) << row.stored;
    Journal journal;
    MemoryRegistry registry(MemoryRegistry::Windows::Bits64, &journal);
    registry.Key(Root::CurrentUser, key);
    WriteLevel1Remove(registry, OfficeVersion::V14, row.allowed, row.stored);
    EXPECT_EQ(row.written ? Texts{"set HKCU\\" + key + " Level1Remove REG_SZ \"" +
                                  std::string(row.composed) + "\""}
                          : Texts{},
              journal.Entries())
        << row.stored;
  }
  Texts everything;
  for (const auto& row : kAttachmentExtensionCatalogue) {
    everything.emplace_back(row.extension);
  }
  EXPECT_EQ(everything, AllowedAfterFilling(ComposeLevel1Remove(everything)));
}

}  // namespace
}  // namespace tarnwell

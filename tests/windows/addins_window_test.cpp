// The add-ins window: which add-ins each read lists, what the selected one shows.
#include "windows/addins_window.h"

#include <gmock/gmock.h>
#include <memory>

#include "platform/registry_object.h"
#include "support/main_window_harness.h"
#include "support/versions.h"
#include "ui/addins_layout.h"

namespace tarnwell {
namespace {

using namespace form7;
using Texts = std::vector<std::string>;
const std::string kAddins = "Software\\Microsoft\\Office\\Outlook\\Addins\\";
const std::string kAddins32 = "Software\\Wow6432Node\\Microsoft\\Office\\Outlook\\Addins\\";

struct AddinsTest : testing::Test, MainWindowHarness {
  AddinsTest() { state.Is64BitWindows = true, state.OutlookVersion = Installed("14"); }
  MemoryRegistry::KeyRef Addin(const std::string& key, std::uint32_t load,
                               const std::string& name = "", const std::string& text = "") {
    auto addin = registry.Key(Root::CurrentUser, kAddins + key).Dword("LoadBehavior", load);
    return name.empty() ? addin : addin.String("FriendlyName", name).String("Description", text);
  }
  Texts Open() {  // as btnAddins makes it
    addins = std::make_unique<MemoryForm>(AddinsWindowLayout());
    logic = std::make_unique<AddinsWindow>(*addins, Svc(), state);
    return addins->Items(lbAddins);
  }
  Texts Click(int item) {
    addins->Select(lbAddins, item);
    logic->OnEvent(lbAddins, Event::Click);
    return addins->Lines(memoAddinDesc);
  }
  std::unique_ptr<MemoryForm> addins;
  std::unique_ptr<AddinsWindow> logic;
};

// A known load behaviour checks its radio item and shows a sentence; an unknown one shows
// neither, whatever was shown before. The radio group is only looked at; nothing is written.
TEST_F(AddinsTest, ListsAddinsWithALoadBehaviourAndShowsTheSelectedOne) {
  Addin("A.Zero", 0), Addin("B.Four", 4), Addin("C.Sixteen", 16);
  Addin("Dup.One", 3, "Reports", "First."), Addin("Dup.Two", 2, "Reports", "Second.");
  registry.Key(Root::CurrentUser, kAddins + "Unloadable").String("FriendlyName", "Never");
  EXPECT_EQ((Texts{"A.Zero", "B.Four", "C.Sixteen", "Reports", "Reports"}), Open());
  EXPECT_EQ(0, addins->Selected(lbAddins));
  const int radio[] = {0, -1, 6, 3, 2};
  for (int item = 4; item >= 0; --item) {
    const Texts description = Click(item);
    EXPECT_EQ(radio[item], addins->Selected(rgLoadBehavior)) << item;
    EXPECT_EQ(radio[item] < 0, addins->Lines(memoLoadDesc).empty()) << item;
    EXPECT_EQ((Texts{item < 3 ? "" : item == 3 ? "First." : "Second."}), description) << item;
  }
  EXPECT_THAT(addins->Lines(memoLoadDesc),
              testing::ElementsAre(testing::StartsWith("Add-in Unloaded")));
  addins->Select(rgLoadBehavior, 6);
  logic->OnEvent(rgLoadBehavior, Event::Click);
  logic->OnEvent(btnClose, Event::Click);
  EXPECT_TRUE(addins->Closed());
  EXPECT_THAT(journal.Entries(), testing::IsEmpty());
}

// The native read goes through the key object, which reads texts whole and stops at a type
// error, keeping what came before; the 64-bit read has fixed buffers, where a long text reads
// as empty, lists only REG_DWORD load behaviours and raises nothing. An Outlook of no known
// bitness, or none, lists nothing.
TEST_F(AddinsTest, TheDetectedOutlookChoosesTheRead) {
  const std::string long_text(2001, 'd');
  Addin("A.Long", 9, "Long", long_text);
  Addin("B.Wide", 0).Data("LoadBehavior", ValueType::Binary, {3, 0});
  Addin("C.Last", 16, "Last").Data("Description", ValueType::Binary, {'o', 'k', 0, 'x'});
  const std::tuple<bool, const char*, Bitness, Texts> rows[] = {
      {false, "12", Bitness::Bits32, {long_text}}, {true, "12", Bitness::Bits32, {""}},
      {true, "15", Bitness::Bits64, {""}},         {true, "14", Bitness::Bits32, {long_text}},
      {true, "14", Bitness::NotDetermined, {}},    {true, "", Bitness::Bits32, {}}};
  for (const auto& [windows64, major, bitness, description] : rows) {
    state.OutlookVersion = Installed(major, bitness);
    state.Is64BitWindows = windows64;
    const bool native = description == Texts{long_text};
    if (native)
      dialogs.ExpectError(InvalidDataTypeText("LoadBehavior"));
    const Texts listed = description.empty() ? Texts{}
                         : native            ? Texts{"Long"}
                                             : Texts{"Long", "Last"};
    EXPECT_EQ(listed, Open()) << major;
    if (listed.empty())
      continue;
    EXPECT_EQ(native ? -1 : 0, addins->Selected(lbAddins)) << major;
    EXPECT_EQ(description, Click(0)) << major;
    EXPECT_TRUE(native || Click(1) == Texts{"ok"}) << major;
  }
}

// After the user's add-ins those of all users: HKLM's, then Click-to-Run's bubble, each in
// Outlook's bitness, read with fixed buffers and raising nothing; no name twice.
TEST_F(AddinsTest, AllUsersAddinsFollowFromTheKeysOfOutlooksBitnessEachNameOnce) {
  const std::string c2r = "Software\\Microsoft\\Office\\ClickToRun\\REGISTRY\\MACHINE\\";
  const std::string c2r15 = "Software\\Microsoft\\Office\\15.0\\ClickToRun\\REGISTRY\\MACHINE\\";
  for (const auto& [key, own] : {std::pair{kAddins32, "Native"},
                                 {kAddins, "Wide"},
                                 {c2r + kAddins, "Bubble"},
                                 {c2r + kAddins32, "Bubble32"},
                                 {c2r15 + kAddins, "Bubble2013"}}) {
    for (const char* name : {"FILER", "Shared", own})
      registry.Key(Root::LocalMachine, key + name).Dword("LoadBehavior", 8);
  }
  Addin("Filer", 3, "Mail Filer");
  using Row = std::tuple<const char*, Bitness, InstallKind, Texts>;
  for (const auto& [major, bitness, kind, all_users] :
       {Row{"16", Bitness::Bits32, InstallKind::ClickToRun, {"Native", "Shared", "Bubble32"}},
        Row{"15", Bitness::Bits64, InstallKind::ClickToRun, {"Shared", "Wide", "Bubble2013"}},
        Row{"16", Bitness::Bits32, InstallKind::Msi, {"Native", "Shared"}}}) {
    state.OutlookVersion = Installed(major, bitness);
    state.OutlookVersion.Kind = kind;
    Texts items{"Mail Filer"};
    for (const std::string& name : all_users)
      items.push_back(name + " (all users)");
    EXPECT_EQ(items, Open()) << major;
  }
}

}  // namespace
}  // namespace tarnwell

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

// The native read goes through the key object, which reads texts whole, and among hundreds;
// the 64-bit read has fixed buffers, where a long description reads as empty; an Outlook
// of no known bitness, or none, lists nothing.
TEST_F(AddinsTest, TheDetectedOutlookChoosesTheRead) {
  const std::string long_text(2001, 'd');
  Addin("A.Long", 9, "Long", long_text);
  for (int i = 0; i < 300; ++i)
    Addin("Many" + std::to_string(1000 + i), 0).String("Description", "N" + std::to_string(i));
  const std::tuple<bool, const char*, Bitness, const char*> rows[] = {
      {false, "12", Bitness::Bits32, "whole"},
      {true, "12", Bitness::Bits32, ""},
      {true, "15", Bitness::Bits64, ""},
      {true, "14", Bitness::Bits32, "whole"},
      {true, "14", Bitness::NotDetermined, nullptr},
      {true, "", Bitness::Bits32, nullptr}};
  for (const auto& [windows64, major, bitness, description] : rows) {
    state.OutlookVersion = Installed(major, bitness);
    state.Is64BitWindows = windows64;
    const Texts items = Open();
    EXPECT_EQ(description ? 301u : 0u, items.size()) << major;
    if (description) {
      EXPECT_EQ(*description ? long_text : "", Click(0).at(0)) << major;
      EXPECT_EQ("Many1299", items.back());
      EXPECT_EQ(Texts{"N299"}, Click(300));
    }
  }
}

// The native read stops at a type error, keeps what came before and reports it; the 64-bit
// read lists only REG_DWORD load behaviours, reads a binary description, and raises nothing.
TEST_F(AddinsTest, TypeErrorsByTheRead) {
  Addin("A.First", 3, "First");
  registry.Key(Root::LocalMachine, kAddins32 + "M").Dword("LoadBehavior", 3);
  registry.Key(Root::CurrentUser, kAddins + "B.Wrong").String("LoadBehavior", "3");
  Addin("C.Never", 3, "Never");
  dialogs.ExpectError(InvalidDataTypeText("LoadBehavior"));
  EXPECT_EQ(Texts{"First"}, Open());
  EXPECT_EQ(-1, addins->Selected(lbAddins));
  registry.DeleteTree(Root::CurrentUser, kAddins);
  state.OutlookVersion.OutlookBitness = Bitness::Bits64;
  Addin("A.Text", 0).String("LoadBehavior", "3");
  Addin("B.Short", 0).Data("LoadBehavior", ValueType::Binary, {3, 0});
  Addin("D.Number", 16).Data("Description", ValueType::Binary, {'o', 'k', 0, 'x'});
  EXPECT_EQ(Texts{"D.Number"}, Open());
  EXPECT_EQ(Texts{"ok"}, addins->Lines(memoAddinDesc));
  EXPECT_EQ(6, addins->Selected(rgLoadBehavior));
}

// After the user's add-ins those of all users: HKLM's, then Click-to-Run's bubble, each in
// Outlook's bitness, read with fixed buffers and raising nothing; no name twice.
TEST_F(AddinsTest, AllUsersAddinsFollowFromTheKeysOfOutlooksBitnessEachNameOnce) {
  const std::string bubble = "Software\\Microsoft\\Office\\ClickToRun\\REGISTRY\\MACHINE\\";
  const std::string bubble15 = "Software\\Microsoft\\Office\\15.0\\ClickToRun\\REGISTRY\\MACHINE\\";
  const std::pair<std::string, const char*> keys[] = {{kAddins32, "Native"},
                                                      {kAddins, "Wide"},
                                                      {bubble + kAddins, "Bubble"},
                                                      {bubble + kAddins32, "Bubble32"},
                                                      {bubble15 + kAddins, "Bubble2013"}};
  for (const auto& [key, own] : keys) {
    for (const char* name : {"FILER", "Shared", own})
      registry.Key(Root::LocalMachine, key + name).Dword("LoadBehavior", 8);
  }
  Addin("Filer", 3, "Mail Filer");
  using Row = std::tuple<const char*, Bitness, InstallKind, Texts>;
  for (const auto& [major, bitness, kind, all_users] :
       {Row{"16", Bitness::Bits32, InstallKind::ClickToRun, {"Native", "Shared", "Bubble32"}},
        Row{"16", Bitness::Bits64, InstallKind::ClickToRun, {"Shared", "Wide", "Bubble"}},
        Row{"15", Bitness::Bits64, InstallKind::ClickToRun, {"Shared", "Wide", "Bubble2013"}},
        Row{"16", Bitness::Bits32, InstallKind::Msi, {"Native", "Shared"}}}) {
    state.OutlookVersion = Installed(major, bitness);
    state.OutlookVersion.Kind = kind;
    Texts items{"Mail Filer"};
    for (const std::string& name : all_users)
      items.push_back(name + " (all users)");
    EXPECT_EQ(items, Open()) << state.OutlookVersion.DisplayText();
  }
}

}  // namespace
}  // namespace tarnwell

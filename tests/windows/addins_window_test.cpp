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

// A known load behaviour checks its radio item and shows a sentence; an unknown one clears both.
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

// The user's add-ins, then all users' (HKLM, Click-to-Run) in Outlook's bitness, no key name twice.
TEST_F(AddinsTest, TheDetectedOutlookChoosesTheReads) {
  const std::string long_text(2001, 'd');
  const std::string c2r = "Software\\Microsoft\\Office\\ClickToRun\\REGISTRY\\MACHINE\\";
  const std::string c2r15 = "Software\\Microsoft\\Office\\15.0\\ClickToRun\\REGISTRY\\MACHINE\\";
  Addin("A.Long", 9, "Long", long_text);
  for (const auto& [key, own] : {std::pair{kAddins32, "Native"},
                                 {kAddins, "Wide"},
                                 {c2r + kAddins, "Bubble"},
                                 {c2r + kAddins32, "Bubble32"},
                                 {c2r15 + kAddins, "Bubble2013"}}) {
    for (const char* name : {"A.LONG", "Shared", own})
      registry.Key(Root::LocalMachine, key + name).Dword("LoadBehavior", 8);
  }
  using Kind = InstallKind;
  const std::tuple<bool, const char*, Bitness, InstallKind, std::string> rows[] = {
      {false, "12", Bitness::Bits32, Kind::Msi, "Long Native* Shared* "},
      {true, "12", Bitness::Bits32, Kind::Msi, "Long Shared* Wide* "},
      {true, "14", Bitness::Bits32, Kind::Msi, "Long Native* Shared* "},
      {true, "16", Bitness::Bits32, Kind::ClickToRun, "Long Native* Shared* Bubble32* "},
      {true, "16", Bitness::Bits64, Kind::ClickToRun, "Long Shared* Wide* Bubble* "},
      {true, "15", Bitness::Bits64, Kind::ClickToRun, "Long Shared* Wide* Bubble2013* "},
      {true, "14", Bitness::NotDetermined, Kind::Msi, ""},
      {true, "", Bitness::Bits32, Kind::Msi, ""}};
  for (const auto& [windows64, major, bitness, kind, expected] : rows) {
    state.OutlookVersion = Installed(major, bitness);
    state.OutlookVersion.Kind = kind;
    state.Is64BitWindows = windows64;
    std::string listed;
    for (const std::string& item : Open())
      listed +=
          item.ends_with(" (all users)") ? item.substr(0, item.size() - 12) + "* " : item + " ";
    EXPECT_EQ(expected, listed) << major;
    const bool whole = expected.find("Native") != std::string::npos;  // the native read
    EXPECT_TRUE(listed.empty() || Click(0) == Texts{whole ? long_text : ""}) << major;
  }
}

// A type error ends the native read, keeping what came before; the 64-bit read skips it silently.
TEST_F(AddinsTest, TypeErrorsByTheRead) {
  Addin("A.First", 3, "First");
  registry.Key(Root::LocalMachine, kAddins32 + "M").Dword("LoadBehavior", 3);
  Addin("B.Wide", 0).Data("LoadBehavior", ValueType::Binary, {3, 0});
  Addin("C.Last", 16, "Last").Data("Description", ValueType::Binary, {'o', 'k', 0, 'x'});
  dialogs.ExpectError(InvalidDataTypeText("LoadBehavior"));
  EXPECT_EQ(Texts{"First"}, Open());
  EXPECT_EQ(-1, addins->Selected(lbAddins));
  state.OutlookVersion.OutlookBitness = Bitness::Bits64;
  EXPECT_EQ((Texts{"First", "Last"}), Open());
  EXPECT_EQ(Texts{"ok"}, Click(1));
}

}  // namespace
}  // namespace tarnwell

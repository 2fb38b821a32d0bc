// The add-in status window on an in-memory machine: which add-ins are listed in which view,
// what the selected one shows, and that nothing is ever written.
#include "windows/addins_window.h"

#include <gmock/gmock.h>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/registry_object.h"
#include "support/main_window_harness.h"
#include "support/versions.h"
#include "ui/addins_layout.h"

namespace tarnwell {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

constexpr const char* kAddins = "Software\\Microsoft\\Office\\Outlook\\Addins";
constexpr const char* kAddins32 = "Software\\Wow6432Node\\Microsoft\\Office\\Outlook\\Addins";
constexpr const char* kAtStartup = "Add-in Loaded - Outlook will load the add-in at startup.";
constexpr const char* kFirstStartup =
    "Add-in Unloaded - Outlook will load the add-in at startup and will change the load "
    "behavior to 3 if successful.";
constexpr const char* kFirstTimeThenOnDemand =
    "Add-in Loaded - The add-in will be loaded automatically the first time, then on-demand "
    "afterwards.";

// What the window shows: the list and its selection, both boxes and the radio group.
struct Shown {
  std::vector<std::string> items;
  int selected = -1;
  std::vector<std::string> description;
  std::vector<std::string> load_description;
  int load_behavior = -1;
  bool operator==(const Shown&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Shown& shown) {
  out << "items " << testing::PrintToString(shown.items) << " selected " << shown.selected
      << " description " << testing::PrintToString(shown.description) << " load "
      << testing::PrintToString(shown.load_description) << " radio " << shown.load_behavior;
  return out;
}

Shown ShownBy(const Form& form) {
  return {form.Items(form7::lbAddins), form.Selected(form7::lbAddins),
          form.Lines(form7::memoAddinDesc), form.Lines(form7::memoLoadDesc),
          form.Selected(form7::rgLoadBehavior)};
}

class AddinsTest : public testing::Test, protected MainWindowHarness {
 protected:
  AddinsTest() {
    state.Is64BitWindows = true;
    state.OutlookVersion = Installed("14");
  }

  MemoryRegistry::KeyRef Addin(const std::string& key, std::string_view friendly_name,
                               std::string_view description, std::uint32_t load_behavior) {
    auto addin = AddinKey(key).Dword("LoadBehavior", load_behavior);
    if (!friendly_name.empty()) {
      addin.String("FriendlyName", friendly_name);
    }
    if (!description.empty()) {
      addin.String("Description", description);
    }
    return addin;
  }
  MemoryRegistry::KeyRef AddinKey(const std::string& key) {
    return registry.Key(Root::CurrentUser, std::string(kAddins) + "\\" + key);
  }

  // Form7 made as btnAddins makes it; its reads are then in the journal.
  void Open() {
    form = std::make_unique<MemoryForm>(AddinsWindowLayout());
    logic = std::make_unique<AddinsWindow>(
        *form, Services{registry, dialogs, elevation, files, processes, shell, clock}, state);
  }
  Shown Click(int item) {
    form->Select(form7::lbAddins, item);
    logic->OnEvent(form7::lbAddins, Event::Click);
    return ShownBy(*form);
  }

  std::unique_ptr<MemoryForm> form;
  std::unique_ptr<AddinsWindow> logic;
};

TEST_F(AddinsTest, ListsAddinsWithALoadBehaviourAndShowsTheSelectedOne) {
  Addin("Filer.Connect", "Mail Filer", "Files mail by sender.", 3);
  Addin("Sync.Connect", "", "", 2);
  AddinKey("Unloadable").String("FriendlyName", "Never listed");
  Open();
  EXPECT_EQ((Shown{{"Mail Filer", "Sync.Connect"}, 0, {"Files mail by sender."}, {kAtStartup}, 3}),
            ShownBy(*form));
  EXPECT_EQ((Shown{{"Mail Filer", "Sync.Connect"}, 1, {""}, {kFirstStartup}, 2}), Click(1));

  // The radio group is only looked at; the registry keeps its number.
  form->Select(form7::rgLoadBehavior, 6);
  logic->OnEvent(form7::rgLoadBehavior, Event::Click);
  EXPECT_EQ(
      3u,
      registry.Value(Root::CurrentUser, std::string(kAddins) + "\\Filer.Connect", "LoadBehavior")
          ->Number());
  logic->OnEvent(form7::btnClose, Event::Click);
  EXPECT_TRUE(form->Closed());
  EXPECT_THAT(journal.Entries(), IsEmpty());
}

TEST_F(AddinsTest, MissingKeyGivesAnEmptyWindowWithNoRadioItemChecked) {
  Open();
  EXPECT_EQ(Shown{}, ShownBy(*form));
  EXPECT_THAT(form->Items(form7::rgLoadBehavior), ElementsAre("0", "1", "2", "3", "8", "9", "16"));
  EXPECT_THAT(journal.Entries(), IsEmpty());
}

// Each known number checks its item and shows its sentence; an unknown one shows neither,
// whatever was shown before it.
TEST_F(AddinsTest, LoadBehavioursMapToTheirItemsAndUnknownOnesShowNothing) {
  const std::uint32_t numbers[] = {0, 1, 2, 3, 8, 9, 16, 4};
  for (std::uint32_t number : numbers) {
    Addin("A" + std::to_string(100 + number), "", "", number);
  }
  Open();
  EXPECT_EQ("Add-in Unloaded - Outlook never tries to load the add-in automatically.",
            Click(0).load_description.at(0));
  EXPECT_EQ(kFirstTimeThenOnDemand, Click(7).load_description.at(0));
  EXPECT_EQ(6, form->Selected(form7::rgLoadBehavior));
  const Shown unknown = Click(4);  // in name order
  EXPECT_EQ("A104", unknown.items.at(4));
  EXPECT_THAT(unknown.load_description, IsEmpty());
  EXPECT_EQ(-1, unknown.load_behavior);
  std::vector<int> radio;
  for (int item = 0; item < 8; ++item) {
    radio.push_back(Click(item).load_behavior);
  }
  EXPECT_THAT(radio, ElementsAre(0, 1, 2, 3, -1, 4, 5, 6));
}

// Each item stands for its own add-in, however many there are and whatever they are called.
TEST_F(AddinsTest, EachItemShowsItsOwnAddinAmongHundredsAndNamesake) {
  Addin("Dup.One", "Reports", "First reports add-in.", 3);
  Addin("Dup.Two", "Reports", "Second reports add-in.", 2);
  for (int i = 0; i < 300; ++i) {
    Addin("Many" + std::to_string(1000 + i), "", "Number " + std::to_string(i), 0);
  }
  Open();
  EXPECT_EQ(302u, ShownBy(*form).items.size());
  EXPECT_EQ((std::vector<std::string>{"Second reports add-in."}), Click(1).description);
  EXPECT_EQ(2, form->Selected(form7::rgLoadBehavior));
  EXPECT_EQ((std::vector<std::string>{"First reports add-in."}), Click(0).description);
  const Shown last = Click(301);
  EXPECT_EQ("Many1299", last.items.back());
  EXPECT_EQ((std::vector<std::string>{"Number 299"}), last.description);
}

// The key object's type error stops the read where it stands: what came before stays listed,
// and the window opens.
TEST_F(AddinsTest, TypeErrorsOfTheNativeReadAreShownAndKeepWhatWasRead) {
  Addin("A.First", "First", "", 3);
  registry.Key(Root::LocalMachine, std::string(kAddins32) + "\\M").Dword("LoadBehavior", 3);
  AddinKey("B.Wrong").String("LoadBehavior", "3");
  Addin("C.Never", "Never", "", 3);
  dialogs.ExpectError(InvalidDataTypeText("LoadBehavior"));
  Open();
  EXPECT_EQ((Shown{{"First"}, -1, {}, {}, -1}), ShownBy(*form));

  registry.DeleteTree(Root::CurrentUser, std::string(kAddins) + "\\B.Wrong");
  AddinKey("B.Wrong").Dword("LoadBehavior", 3).Data("FriendlyName", ValueType::Binary, {1, 2});
  dialogs.ExpectError(InvalidDataTypeText("FriendlyName"));
  Open();
  EXPECT_EQ((std::vector<std::string>{"First"}), ShownBy(*form).items);
  EXPECT_THAT(journal.Entries(),
              ElementsAre(ScriptedDialogs::ErrorLine(InvalidDataTypeText("LoadBehavior")),
                          ScriptedDialogs::ErrorLine(InvalidDataTypeText("FriendlyName"))));
}

// Which read runs: the native view through the key object, which reads texts whole; or the
// 64-bit view with its fixed buffers, where a long description reads as empty.
TEST_F(AddinsTest, TheDetectedOutlookChoosesTheRead) {
  const std::string long_text(2001, 'd');
  Addin("A.Long", "Long", long_text, 9);
  struct Case {
    bool windows64;
    const char* major;
    Bitness bitness;
    std::vector<std::string> descriptions;  // one item per read
  };
  const Case cases[] = {
      {false, "12", Bitness::Bits32, {long_text}},
      {true, "12", Bitness::Bits32, {""}},
      {true, "9", Bitness::Bits32, {""}},
      {true, "15", Bitness::Bits64, {""}},
      {true, "14", Bitness::Bits32, {long_text}},
      {true, "14", Bitness::NotDetermined, {}},
      {true, "", Bitness::Bits32, {}},
  };
  for (const Case& c : cases) {
    state.OutlookVersion = Installed(c.major, c.bitness);
    SCOPED_TRACE(state.OutlookVersion.DisplayText());
    state.Is64BitWindows = c.windows64;
    Open();
    std::vector<std::string> descriptions;
    for (std::size_t item = 0; item < form->Items(form7::lbAddins).size(); ++item) {
      descriptions.push_back(Click(static_cast<int>(item)).description.at(0));
    }
    EXPECT_EQ(c.descriptions, descriptions);
  }
  EXPECT_THAT(journal.Entries(), IsEmpty());
}

// The 64-bit read looks at no types but the load behaviour's: only a REG_DWORD is a number
// Outlook reads, so other data, even of four bytes or less, lists nothing; nor does an error.
TEST_F(AddinsTest, TheSixtyFourBitReadListsOnlyNumbersAndRaisesNothing) {
  state.OutlookVersion.OutlookBitness = Bitness::Bits64;
  AddinKey("A.Text").String("LoadBehavior", "3");
  AddinKey("B.Short").Data("LoadBehavior", ValueType::Binary, {3, 0});
  AddinKey("C.Wide").Data("LoadBehavior", ValueType::Binary, std::vector<std::uint8_t>(8, 0));
  Addin("D.Number", "", "", 16).Data("Description", ValueType::Binary, {'o', 'k', 0, 'x'});
  Open();
  EXPECT_EQ((Shown{{"D.Number"}, 0, {"ok"}, {kFirstTimeThenOnDemand}, 6}), ShownBy(*form));
  EXPECT_THAT(journal.Entries(), IsEmpty());
}

// After the user's add-ins those of all users, read with fixed buffers and raising nothing:
// HKLM's, then Click-to-Run's bubble, each in Outlook's bitness; no name twice, in any case.
TEST_F(AddinsTest, AllUsersAddinsFollowFromTheKeysOfOutlooksBitnessEachNameOnce) {
  const std::string bubble = "Software\\Microsoft\\Office\\ClickToRun\\REGISTRY\\MACHINE\\";
  const std::string bubble2013 =
      "Software\\Microsoft\\Office\\15.0\\ClickToRun\\REGISTRY\\MACHINE\\";
  const std::pair<std::string, const char*> keys[] = {{kAddins32, "Native"},
                                                      {kAddins, "Wide"},
                                                      {bubble + kAddins, "Bubble"},
                                                      {bubble + kAddins32, "Bubble32"},
                                                      {bubble2013 + kAddins, "Bubble2013"}};
  for (const auto& [key, own] : keys) {
    for (const char* name : {"FILER", "Shared", own}) {
      registry.Key(Root::LocalMachine, key + "\\" + name).Dword("LoadBehavior", 8);
    }
    registry.Key(Root::LocalMachine, key + "\\Text").String("LoadBehavior", "3");
  }
  Addin("Filer", "Mail Filer", "", 3);
  using Case = std::tuple<const char*, Bitness, InstallKind, std::vector<std::string>>;
  for (const auto& [version, bitness, kind, all_users] :
       {Case{"16", Bitness::Bits32, InstallKind::ClickToRun, {"Native", "Shared", "Bubble32"}},
        Case{"16", Bitness::Bits64, InstallKind::ClickToRun, {"Shared", "Wide", "Bubble"}},
        Case{"15", Bitness::Bits64, InstallKind::ClickToRun, {"Shared", "Wide", "Bubble2013"}},
        Case{"16", Bitness::Bits32, InstallKind::Msi, {"Native", "Shared"}}}) {
    state.OutlookVersion = Installed(version, bitness);
    state.OutlookVersion.Kind = kind;
    std::vector<std::string> items{"Mail Filer"};
    for (const std::string& name : all_users) {
      items.push_back(name + " (all users)");
    }
    Open();
    EXPECT_EQ(items, ShownBy(*form).items) << state.OutlookVersion.DisplayText();
  }
}

// btnAddins builds a new window each time, which reads the registry as it is then.
TEST_F(AddinsTest, EachPressOfTheButtonReadsAnew) {
  SeedNativeOutlook(registry, "14").String("Bitness", "x86");
  Create();
  Addin("Filer.Connect", "Mail Filer", "", 3);
  dialogs.ExpectWindow("Outlook Add-Ins", [](MemoryForm& addins, EventSink&) {
    EXPECT_EQ((Shown{{"Mail Filer"}, 0, {""}, {kAtStartup}, 3}), ShownBy(addins));
  });
  window.OnEvent(tform1::btnAddins, Event::Click);
  Addin("Filer.Connect", "Mail Filer", "", 8);
  dialogs.ExpectWindow("Outlook Add-Ins", [](MemoryForm& addins, EventSink&) {
    EXPECT_EQ(4, addins.Selected(form7::rgLoadBehavior));
  });
  window.OnEvent(tform1::btnAddins, Event::Click);
  EXPECT_THAT(journal.Entries(), ElementsAre("window: Outlook Add-Ins", "window: Outlook Add-Ins"));
}

}  // namespace
}  // namespace tarnwell

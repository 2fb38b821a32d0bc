// The custom save locations windows on an in-memory machine: what is listed, what an entry
// must pass before it is written, and which key a removal deletes.
#include "windows/places_window.h"

#include <gmock/gmock.h>
#include <string>
#include <vector>

#include "support/main_window_harness.h"

namespace tarnwell {
namespace {

using testing::ElementsAre;

constexpr const char* kPlaces =
    "Software\\Microsoft\\Office\\14.0\\Common\\Open Find\\Places\\UserDefinedPlaces";
constexpr const char* kTaken =
    "The Location Name you entered already exists.  Please change the name and try again.";

class CustomPlacesTest : public testing::Test, protected MainWindowHarness {
 protected:
  void SetUp() override {
    SeedNativeOutlook(registry, "14").String("Bitness", "x86");
    Place("Projects", "Projects", "D:\\Projects\\");
    Place("Scans", "Scanned letters", "D:\\Scans\\");
    registry.Key(Root::CurrentUser, std::string(kPlaces) + "\\NoName").String("Path", "D:\\");
    Place("Long", std::string(257, 'x'), "D:\\");
    files.AddFolder("D:\\Projects").AddFolder("D:\\Scans").AddFolder("E:\\Archive");
    Create();
  }

  void Place(const std::string& key, const std::string& name, const std::string& path) {
    registry.Key(Root::CurrentUser, std::string(kPlaces) + "\\" + key)
        .String("Name", name)
        .String("Path", path);
  }

  // "&Define Custom Save Locations" opens Form5; `interact` acts in it.
  void Open(ScriptedDialogs::Interaction interact) {
    dialogs.ExpectWindow("Custom Save Locations", std::move(interact));
    window.OnEvent(tform1::btnCustomPlaces, Event::Click);
    journal.Clear();
  }

  // The entry window as the user fills it in and presses "&Add Item".
  void Add(const std::string& name, const std::string& path) {
    entry_logic.OnEvent(kNoControl, Event::Show);
    entry.Type(form6::edLocName, name);
    entry.Type(form6::edLocPath, path);
    entry_logic.OnEvent(form6::btnAddToList, Event::Click);
  }

  LocationEntryWindow entry_logic{
      entry, form, Services{registry, dialogs, elevation, files, processes, shell, clock}, state};
};

TEST_F(CustomPlacesTest, ListsNamedPlacesInRegistryOrderAndRefreshesWhenActivated) {
  Open([this](MemoryForm& places, EventSink& logic) {
    EXPECT_THAT(places.Items(form5::lbLocations), ElementsAre("Projects", "Scanned letters"));
    EXPECT_EQ(-1, places.Selected(form5::lbLocations));
    Place("Archive", "Archive", "E:\\Archive\\");
    logic.OnEvent(kNoControl, Event::Activate);
    EXPECT_THAT(places.Items(form5::lbLocations),
                ElementsAre("Archive", "Projects", "Scanned letters"));
    logic.OnEvent(form5::btnAdd, Event::Click);
    EXPECT_TRUE(entry.Shown());
  });
}

// Each failed check shows its warning, writes nothing and leaves the entry window open, in
// this order; a name is compared as the registry compares key names.
TEST_F(CustomPlacesTest, EntryChecksInOrderThenWritesThePlaceAsTyped) {
  Open({});
  const std::vector<std::pair<std::string, std::string>> refused = {
      {"", ""},
      {"Archive", ""},
      {"Archive", "E:\\Missing"},
      {"Projects", "E:\\Archive"},
      {"projects", "E:\\Archive"},  // another spelling of a listed name
      {"SCANS", "E:\\Archive"},     // the key of "Scanned letters"
      {"Old\\Archive", "E:\\Archive"},
  };
  for (const char* text :
       {"You must enter a new location name.", "You must enter a new location path.",
        "You must enter a new location path that exists.", kTaken, kTaken, kTaken}) {
    dialogs.Expect(MessageKind::Warning, text);
  }
  dialogs.Expect(MessageKind::Warning,
                 "A location name cannot contain a backslash (\\).  Please change the name and "
                 "try again.");
  for (const auto& [name, path] : refused) {
    Add(name, path);
    EXPECT_FALSE(entry.Closed()) << name;
    EXPECT_EQ(path, entry.Text(form6::edLocPath));
  }
  journal.Clear();

  Add(" Archive", "E:\\Archive");
  EXPECT_TRUE(entry.Closed());
  const std::string key = "HKCU\\" + std::string(kPlaces) + "\\ Archive";
  EXPECT_THAT(journal.Entries(),
              ElementsAre("create " + key, "set " + key + " Name REG_SZ \" Archive\"",
                          "set " + key + " Path REG_SZ \"E:\\Archive\""));
  entry_logic.OnEvent(kNoControl, Event::Show);
  EXPECT_EQ("", entry.Text(form6::edLocName));
  EXPECT_EQ("", entry.Text(form6::edLocPath));
}

TEST_F(CustomPlacesTest, RemovalAsksAndDeletesThePlacesOwnKey) {
  Open([this](MemoryForm& places, EventSink& logic) {
    dialogs.Expect(MessageKind::Information, "There is no item selected to remove.")
        .Expect(MessageKind::Confirmation,
                "Are you sure that you want to remove the custom location : [Scanned letters]?",
                Answer::No)
        .Expect(MessageKind::Confirmation,
                "Are you sure that you want to remove the custom location : [Scanned letters]?",
                Answer::Yes);
    logic.OnEvent(form5::btnRemove, Event::Click);
    places.Select(form5::lbLocations, 1);
    logic.OnEvent(form5::btnRemove, Event::Click);
    EXPECT_THAT(places.Items(form5::lbLocations), ElementsAre("Projects", "Scanned letters"));
    logic.OnEvent(form5::btnRemove, Event::Click);
    EXPECT_THAT(places.Items(form5::lbLocations), ElementsAre("Projects"));
    EXPECT_EQ(-1, places.Selected(form5::lbLocations));
    logic.OnEvent(kNoControl, Event::Activate);
    EXPECT_THAT(places.Items(form5::lbLocations), ElementsAre("Projects"));
  });
  EXPECT_FALSE(registry.HasKey(Root::CurrentUser, std::string(kPlaces) + "\\Scans"));
  EXPECT_TRUE(registry.HasKey(Root::CurrentUser, std::string(kPlaces) + "\\Projects"));
}

}  // namespace
}  // namespace tarnwell

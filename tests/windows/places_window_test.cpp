// Custom save locations windows: the listing, the checks on an entry, the key a removal deletes.
#include "windows/places_window.h"

#include <gmock/gmock.h>

#include "support/main_window_harness.h"

namespace tarnwell {
namespace {

using testing::ElementsAre;
const std::string kPlaces =
    "Software\\Microsoft\\Office\\14.0\\Common\\Open Find\\Places\\UserDefinedPlaces\\";

struct PlacesTest : testing::Test, MainWindowHarness {
  PlacesTest() {
    SeedNativeOutlook(registry, "14").String("Bitness", "x86");
    Place("Projects", "Projects"), Place("Scans", "Scanned letters");
    Place("Long", std::string(257, 'x'));
    registry.Key(Root::CurrentUser, kPlaces + "NoName").String("Path", "D:\\");
    files.AddFolder("D:\\Projects").AddFolder("E:\\Archive");
    Create();
  }
  void Place(const std::string& key, const std::string& name) {
    registry.Key(Root::CurrentUser, kPlaces + key).String("Name", name).String("Path", "D:\\");
  }
  LocationEntryWindow entry_logic{entry, form, Svc(), state};
};

// Named places in registry order, relisted on activation; the checks on an entry come in row order.
TEST_F(PlacesTest, ListsAddsAndRemoves) {
  const std::tuple<const char*, const char*, const char*> rows[] = {
      {"", "", "You must enter a new location name."},
      {"Archive", "", "You must enter a new location path."},
      {"Archive", "E:\\Missing", "You must enter a new location path that exists."},
      {"projects", "E:\\Archive", "The Location Name you entered already exists."},
      {"SCANS", "E:\\Archive", "The Location Name you entered already exists."},
      {"Old\\Archive", "E:\\Archive", "A location name cannot contain a backslash"},
      {" Archive", "E:\\Archive", nullptr}};
  dialogs.ExpectWindow("Custom Save Locations", [&](MemoryForm& places, EventSink& logic) {
    EXPECT_THAT(places.Items(form5::lbLocations), ElementsAre("Projects", "Scanned letters"));
    logic.OnEvent(form5::btnAdd, Event::Click);
    EXPECT_TRUE(entry.Shown());
    for (const auto& [name, path, warning] : rows) {
      if (warning)
        dialogs.Expect(MessageKind::Warning, warning);
      entry_logic.OnEvent(kNoControl, Event::Show);
      entry.Type(form6::edLocName, name);
      entry.Type(form6::edLocPath, path);
      journal.Clear();
      entry_logic.OnEvent(form6::btnAddToList, Event::Click);
      EXPECT_EQ(warning == nullptr, entry.Closed()) << name;
    }
    const std::string key = "HKCU\\" + kPlaces + " Archive";
    EXPECT_THAT(journal.Entries(),
                ElementsAre("create " + key, "set " + key + " Name REG_SZ \" Archive\"",
                            "set " + key + " Path REG_SZ \"E:\\Archive\""));
    entry_logic.OnEvent(kNoControl, Event::Show);
    EXPECT_EQ("", entry.Text(form6::edLocName) + entry.Text(form6::edLocPath));
    logic.OnEvent(kNoControl, Event::Activate);
    const std::string question =
        "Are you sure that you want to remove the custom location : [Scanned letters]?";
    dialogs.Expect(MessageKind::Information, "There is no item selected to remove.")
        .Expect(MessageKind::Confirmation, question, Answer::No)
        .Expect(MessageKind::Confirmation, question, Answer::Yes);
    logic.OnEvent(form5::btnRemove, Event::Click);
    places.Select(form5::lbLocations, 2);
    logic.OnEvent(form5::btnRemove, Event::Click);
    logic.OnEvent(form5::btnRemove, Event::Click);
    EXPECT_THAT(places.Items(form5::lbLocations), ElementsAre(" Archive", "Projects"));
    logic.OnEvent(kNoControl, Event::Activate);
    EXPECT_THAT(places.Items(form5::lbLocations), ElementsAre(" Archive", "Projects"));
  });
  Press(tform1::btnCustomPlaces);
  EXPECT_FALSE(registry.HasKey(Root::CurrentUser, kPlaces + "Scans"));
  EXPECT_TRUE(registry.HasKey(Root::CurrentUser, kPlaces + "Projects"));
}

}  // namespace
}  // namespace tarnwell

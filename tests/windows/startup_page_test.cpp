#include "windows/startup_page.h"

#include <gmock/gmock.h>

#include "startup/command_line_catalogue.h"
#include "support/main_window_harness.h"
#include "support/versions.h"

namespace tarnwell {
namespace {

using namespace tform1;
using testing::ElementsAre;

int RowOf(std::string_view list_text) {
  const auto& catalogue = CommandLineOptionCatalogue();
  for (std::size_t i = 0; i < catalogue.size(); ++i) {
    if (catalogue[i].list_text == list_text) {
      return static_cast<int>(i);
    }
  }
  ADD_FAILURE() << "no row " << list_text;
  return -1;
}

class OptionsPage : public testing::Test, protected MainWindowHarness {
 protected:
  OptionsPage() { Create(); }  // no Outlook: the empty version text

  void Click(std::string_view list_text, std::string_view major = "14") {
    form.Select(lbCLOptions, RowOf(list_text));
    ShowCommandLineOption(form, Version(major));
  }
  bool LaunchEnabled(std::string_view list_text, std::string_view major) {
    Click(list_text, major);
    return form.Enabled(btnLaunchOutlook);
  }
};

TEST(CommandLineCatalogue, KindsAndNotesAddUp) {
  int file = 0;
  int text = 0;
  int noted = 0;
  for (const auto& option : CommandLineOptionCatalogue()) {
    file += option.argument == ArgumentKind::File;
    text += option.argument == ArgumentKind::Text;
    noted += option.note != VersionNote::None;
    EXPECT_EQ(option.argument == ArgumentKind::File, !option.filter.empty()) << option.list_text;
  }
  EXPECT_EQ(14, file);
  EXPECT_EQ(6, text);
  EXPECT_EQ(33, noted);
}

TEST(CommandLineCatalogue, LaunchRuleOfEachNoteForEveryVersion) {
  struct Rule {
    VersionNote note;
    const char* allowed;  // the versions among 9 10 11 12 14 15 16 and "" that may launch
  };
  const Rule rules[] = {
      {VersionNote::None, "9 10 11 12 14 15 16 -"}, {VersionNote::Only2013, "15 16"},
      {VersionNote::Only2007And2010, "12 14"},      {VersionNote::Only2010And2013, "14 15 16"},
      {VersionNote::Only2007To2013, "12 14 15 16"}, {VersionNote::RemovedIn2010, "9 10 11 12 -"},
      {VersionNote::RemovedIn2007, "9 10 11 -"},
  };
  for (const auto& rule : rules) {
    std::string allowed;
    for (const char* major : {"9", "10", "11", "12", "14", "15", "16", ""}) {
      if (LaunchAllowed(rule.note, Version(major))) {
        allowed += (allowed.empty() ? "" : " ") + std::string(*major ? major : "-");
      }
    }
    EXPECT_EQ(rule.allowed, allowed) << VersionNoteText(rule.note, OfficeVersion::V15);
  }
}

TEST_F(OptionsPage, ListShowsTheSwitchesInCatalogueOrder) {
  const auto items = form.Items(lbCLOptions);
  ASSERT_EQ(71u, items.size());
  EXPECT_EQ("/a", items[0]);
  EXPECT_EQ("/cleanweather", items[23]);
  EXPECT_EQ("/x <xnkfilename>", items[70]);
}

TEST_F(OptionsPage, FileSwitchOpensTheFieldAndBrowseAndShowsItsFirstLine) {
  Click("/a");
  EXPECT_THAT(
      form.Lines(mDescription),
      ElementsAre("Creates an item with the specified file as an attachment.", "", "Example", "",
                  "\"c:\\program files\\microsoft office\\office14\\outlook.exe\" /a "
                  "\"c:\\my documents\\labels.doc\"",
                  "", "If no item type is specified, IPM.Note is assumed.",
                  "Cannot be used with message classes that are not based on Outlook."));
  EXPECT_TRUE(form.CaretAtStart(mDescription));
  EXPECT_TRUE(form.Enabled(edArgument));
  EXPECT_EQ(FieldColour::Window, form.Colour(edArgument));
  EXPECT_TRUE(form.Enabled(btnBrowse6));
}

TEST_F(OptionsPage, QuotedDescriptionsStandExactly) {
  Click("/c <messageclass>");
  EXPECT_THAT(
      form.Lines(mDescription),
      ElementsAre("Creates a new item of the specified message class (Outlook forms or "
                  "any other valid MAPI form).",
                  "", "Examples :", "", "/c ipm.activity creates a Journal entry",
                  "/c ipm.appointment creates an appointment", "/c ipm.contact creates a contact",
                  "/c ipm.note creates and e-mail message", "/c ipm.sitckynote creates a note",
                  "/c ipm.task creates a task"));
  Click("/cleanautocompletecache");
  EXPECT_THAT(form.Lines(mDescription),
              ElementsAre("OUTLOOK 2010/2013 ONLY", "",
                          "Removes all names and e-mail addresses from teh Auto-Complete list."));
  Click("/m <emailname>");
  EXPECT_THAT(form.Lines(mDescription),
              ElementsAre("Provides a way for the user to add an e-mail name to the item. Only "
                          "works together with the /c command-line parameter.",
                          "", "Example", "", "Outlook.exe /c ipm.note /m emailname"));
  Click("/share");
  EXPECT_THAT(form.Lines(mDescription),
              ElementsAre("OUTLOOK 2007/2010/2013 ONLY", "", "/share feed://URL /filename",
                          "/share stssync://URL", "/share web://URL /filename", "",
                          "Specifies a sharing URL to connect to Outlook. For example, use "
                          "stssync://URL to connect a SharePoint list to Outlook."));
  Click("/simplemapi");
  EXPECT_THAT(form.Lines(mDescription), ElementsAre("OUTLOOK 2013 ONLY", ""));
}

// In 2016 and later a note ending at 2013 reads as open-ended; /cleanfreebusy, gone from 2016,
// is noted and refused there, and shown and launched by 2013 as before.
TEST_F(OptionsPage, NotesIn2016AndLaterReadAsOpenEnded) {
  for (auto [list_text, note] :
       {std::pair{"/simplemapi", "OUTLOOK 2013 AND LATER"},
        std::pair{"/cleancategories", "OUTLOOK 2010 AND LATER"},
        std::pair{"/share", "OUTLOOK 2007 AND LATER"},
        std::pair{"/resettodobar", "OUTLOOK 2007/2010 ONLY"},
        std::pair{"/firstrun", "REMOVED IN OUTLOOK 2010 AND LATER"},
        std::pair{"/cleanpst", "REMOVED IN OUTLOOK 2007 AND LATER"},
        std::pair{"/cleanfreebusy", "REMOVED IN OUTLOOK 2016 AND LATER"}}) {
    Click(list_text, "16");
    EXPECT_EQ(note, form.Lines(mDescription).at(0));
  }
  EXPECT_THAT(form.Lines(mDescription), ElementsAre(testing::_, "", testing::StartsWith("Clears")));
  EXPECT_FALSE(form.Enabled(btnLaunchOutlook));
  EXPECT_TRUE(LaunchEnabled("/cleanfreebusy", "15"));
  EXPECT_THAT(form.Lines(mDescription), ElementsAre(testing::StartsWith("Clears")));
}

TEST_F(OptionsPage, EachClickEmptiesTheArgumentAndSetsItsControlsByKind) {
  Click("/c <messageclass>");
  form.Type(edArgument, "ipm.note");
  Click("/safe:3");
  EXPECT_EQ("", form.Text(edArgument));
  EXPECT_FALSE(form.Enabled(edArgument));
  EXPECT_EQ(FieldColour::Silver, form.Colour(edArgument));
  EXPECT_FALSE(form.Enabled(btnBrowse6));
  Click("/profile <profilename>");
  EXPECT_TRUE(form.Enabled(edArgument));
  EXPECT_FALSE(form.Enabled(btnBrowse6));
}

TEST_F(OptionsPage, VersionRulesOfTheSpecimenSwitches) {
  EXPECT_FALSE(LaunchEnabled("/cleanweather", "14"));
  EXPECT_TRUE(LaunchEnabled("/cleanweather", "15"));
  EXPECT_TRUE(LaunchEnabled("/resettodobar", "12"));
  EXPECT_FALSE(LaunchEnabled("/resettodobar", "15"));
  EXPECT_FALSE(LaunchEnabled("/resettodobar", "11"));
  for (const char* removed : {"/firstrun", "/cleanprofile"}) {
    EXPECT_FALSE(LaunchEnabled(removed, "14"));
    EXPECT_TRUE(LaunchEnabled(removed, "12"));
  }
  for (const char* removed : {"/cleanpst", "/cleanschedplus", "/nopollmail"}) {
    EXPECT_FALSE(LaunchEnabled(removed, "12"));
    EXPECT_TRUE(LaunchEnabled(removed, "11"));
  }
}

// Without Outlook the page starts disabled, and a click sets it by the row all the same.
TEST_F(OptionsPage, WithoutOutlookClicksEnableByTheRowsRules) {
  ASSERT_FALSE(form.Enabled(btnLaunchOutlook));
  Click("/cleancategories", "");
  EXPECT_FALSE(form.Enabled(btnLaunchOutlook));
  Click("/checkclient", "");
  EXPECT_TRUE(form.Enabled(btnLaunchOutlook));
  Click("/nocustomize", "");
  EXPECT_TRUE(form.Enabled(btnLaunchOutlook));
  Click("/ical <icsfilename>", "");
  EXPECT_TRUE(form.Enabled(edArgument));
  EXPECT_EQ(FieldColour::Window, form.Colour(edArgument));
}

TEST_F(OptionsPage, NothingSelectedOnlyClears) {
  Click("/c <messageclass>");
  form.Type(edArgument, "ipm.note");
  form.Select(lbCLOptions, -1);
  ShowCommandLineOption(form, OfficeVersion::V14);
  EXPECT_TRUE(form.Lines(mDescription).empty());
  EXPECT_EQ("", form.Text(edArgument));
  EXPECT_TRUE(form.Enabled(edArgument));
}

TEST_F(OptionsPage, BrowseStartsFromTheSameNameWithTheRowsFilter) {
  Click("/ical <icsfilename>");
  const FileDialogOptions ical{"Outlook Startup Options", "Outlook-Option", ".ics",
                               "iCalendar Calendar File (.ics)|*.ics"};
  dialogs.ExpectOpenFile(ical, "C:\\Calendars\\Team days.ics").ExpectOpenFile(ical, std::nullopt);
  BrowseForArgument(form, dialogs);
  EXPECT_EQ("C:\\Calendars\\Team days.ics", form.Text(edArgument));
  BrowseForArgument(form, dialogs);
  EXPECT_EQ("C:\\Calendars\\Team days.ics", form.Text(edArgument));
  Click("/a");
  dialogs.ExpectOpenFile({"Outlook Startup Options", "Outlook-Option", ".doc",
                          "Word Document|*.doc|Excel Document|*.xls|All Files|*.*"},
                         std::nullopt);
  BrowseForArgument(form, dialogs);
  EXPECT_EQ("", form.Text(edArgument));
}

}  // namespace
}  // namespace tarnwell

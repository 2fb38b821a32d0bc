// The "Startup Options" page: the switches' notes and kinds by version, and the launch.
#include "windows/startup_page.h"

#include <cctype>
#include <gmock/gmock.h>

#include "startup/command_line_catalogue.h"
#include "support/main_window_harness.h"
#include "support/versions.h"

namespace tarnwell {
namespace {

using namespace tform1;
using Lines = std::vector<std::string>;
using testing::ElementsAre;

void Choose(Form& form, std::string_view list_text) {
  const auto& catalogue = CommandLineOptionCatalogue();
  form.Select(lbCLOptions, -1);
  for (std::size_t i = 0; i < catalogue.size(); ++i) {
    if (catalogue[i].list_text == list_text)
      form.Select(lbCLOptions, static_cast<int>(i));
  }
}

// The versions among 9 10 11 12 14 15 16 and "-" (none found) that each note lets launch.
TEST(CommandLineCatalogue, LaunchRuleOfEachNote) {
  const std::pair<VersionNote, const char*> rules[] = {
      {VersionNote::None, "9 10 11 12 14 15 16 -"}, {VersionNote::Only2013, "15 16"},
      {VersionNote::Only2007And2010, "12 14"},      {VersionNote::Only2010And2013, "14 15 16"},
      {VersionNote::Only2007To2013, "12 14 15 16"}, {VersionNote::RemovedIn2010, "9 10 11 12 -"},
      {VersionNote::RemovedIn2007, "9 10 11 -"}};
  for (const auto& [note, expected] : rules) {
    std::string allowed;
    for (const char* major : {"9", "10", "11", "12", "14", "15", "16", ""}) {
      if (LaunchAllowed(note, Version(major))) {
        allowed += (allowed.empty() ? "" : " ") + std::string(*major ? major : "-");
      }
    }
    EXPECT_EQ(expected, allowed) << static_cast<int>(note);
  }
}

// A click shows the row's note for the version above its text, empties the argument, and
// sets the argument field, Browse and launch by the row's kind and rules.
TEST(OptionsPage, AClickSetsThePageByTheRowAndVersion) {
  const struct {
    const char *list_text, *major, *first_line;
    bool argument, browse, launch;
  } rows[] = {
      {"/a", "14", "Creates an item", true, true, true},
      {"/profile <profilename>", "14", "Loads", true, false, true},
      {"/safe:3", "14", "Starts Outlook", false, false, true},
      {"/simplemapi", "15", "OUTLOOK 2013 ONLY", false, false, true},
      {"/simplemapi", "16", "OUTLOOK 2013 AND LATER", false, false, true},
      {"/cleancategories", "16", "OUTLOOK 2010 AND LATER", false, false, true},
      {"/share", "16", "OUTLOOK 2007 AND LATER", true, false, true},
      {"/resettodobar", "16", "OUTLOOK 2007/2010 ONLY", false, false, false},
      {"/firstrun", "16", "REMOVED IN OUTLOOK 2010 AND LATER", false, false, false},
      {"/cleanpst", "16", "REMOVED IN OUTLOOK 2007 AND LATER", false, false, false},
      {"/cleanfreebusy", "16", "REMOVED IN OUTLOOK 2016 AND LATER", false, false, false},
      {"/cleanfreebusy", "15", "Clears", false, false, true},
      {"", "14", "", false, false, true},  // nothing selected: only clears
  };
  MainWindowHarness harness;
  MemoryForm& form = harness.form;
  harness.Create();  // no Outlook: the page starts disabled
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.list_text) + " in " + row.major);
    form.SetText(edArgument, "typed before");
    Choose(form, row.list_text);
    ShowCommandLineOption(form, Version(row.major));
    const auto lines = form.Lines(mDescription);
    EXPECT_EQ(*row.first_line == '\0', lines.empty());
    EXPECT_THAT(lines.empty() ? "" : lines[0], testing::StartsWith(row.first_line));
    const bool note = std::isupper(row.first_line[0]) && std::isupper(row.first_line[1]);
    EXPECT_TRUE(!note || lines.at(1).empty());  // a note stands apart
    EXPECT_TRUE(form.CaretAtStart(mDescription));
    EXPECT_EQ("", form.Text(edArgument));
    EXPECT_EQ(row.argument, form.Enabled(edArgument));
    EXPECT_EQ(row.argument ? FieldColour::Window : FieldColour::Silver, form.Colour(edArgument));
    EXPECT_EQ(row.browse, form.Enabled(btnBrowse6));
    EXPECT_EQ(row.launch, form.Enabled(btnLaunchOutlook));
  }
  BrowseForArgument(form, harness.dialogs);  // nothing selected, nothing to browse for
  // Each browse starts from the same name with the row's filter; a cancel keeps the field.
  Choose(form, "/ical <icsfilename>");
  const FileDialogOptions ical{"Outlook Startup Options", "Outlook-Option", ".ics",
                               "iCalendar Calendar File (.ics)|*.ics"};
  harness.dialogs.ExpectOpenFile(ical, "C:\\Team.ics").ExpectOpenFile(ical, std::nullopt);
  BrowseForArgument(form, harness.dialogs);
  BrowseForArgument(form, harness.dialogs);
  EXPECT_EQ("C:\\Team.ics", form.Text(edArgument));
}

enum class Machine { Outlook32, Outlook64, Windows32 };

// Outlook 2010 whose Word InstallRoot names `folder`, in the branch its bitness reads.
void Seed(MainWindowHarness& harness, Machine machine, const std::string& folder) {
  const std::string root = "Microsoft\\Office\\14.0\\Word\\InstallRoot";
  if (machine == Machine::Outlook64) {
    Seed64BitOutlook(harness.registry, "14").String("Bitness", "x64");
    harness.registry.Key(Root::LocalMachine, "Software\\" + root).String("Path", folder);
  } else {
    SeedNativeOutlook(harness.registry, "14").String("Bitness", "x86");
    harness.registry.Key(Root::LocalMachine, NativeMachinePath(harness.registry, root))
        .String("Path", folder);
  }
  harness.files.AddFile("D:\\Macros\\Vba Project.otm").AddFolder("D:\\Macros");
  harness.files.AddFile("D:\\labels.doc");
  harness.Create();
}

Lines Launch(MainWindowHarness& harness, std::string_view list_text, std::string_view argument) {
  Choose(harness.form, list_text);
  harness.window.OnEvent(lbCLOptions, Event::Click);
  harness.form.Type(edArgument, argument);
  return harness.Press(btnLaunchOutlook);
}

constexpr const char* kOffice = "C:\\Program Files (x86)\\Microsoft Office\\Office14\\";

std::string Started(std::string_view tail, std::string folder = kOffice) {
  return "start process [\"" + folder + "OUTLOOK.EXE\" " + std::string(tail) + "] flags 0x220";
}

// What a launch starts, or the warning that refuses it, in the order of the checks.
TEST(Launch, CommandLineOrRefusal) {
  const std::tuple<const char*, const char*, std::string> rows[] = {
      {"/altvba <otmfilename>", "D:\\Macros\\Vba Project.otm",
       Started("/altvba \"D:\\Macros\\Vba Project.otm\"")},
      {"/profile <profilename>", "Home Office", Started("/profile Home Office")},
      {"/safe:1", "", Started("/safe:1")},
      {"/select <foldername>", "  ", Started("/select   ")},
      {"/a", "D:\\labels.doc", Started("/a \"D:\\labels.doc\"")},
      {"/share", "stssync://list", Started("/share stssync://list")},
      {"", "ignored", "warning: You must click on a command-line option"},
      {"/altvba <otmfilename>", "", "warning: The command-line option you have selected requires"},
      {"/altvba <otmfilename>", "D:\\None.otm", "warning: The file specified : (D:\\None.otm)"},
      {"/altvba <otmfilename>", "D:\\Macros", "warning: The file specified : (D:\\Macros)"},
  };
  MainWindowHarness harness;
  Seed(harness, Machine::Outlook32, kOffice);
  for (const auto& [list_text, argument, result] : rows) {
    if (result.starts_with("warning: ")) {
      harness.dialogs.Expect(MessageKind::Warning, result.substr(9));
    }
    EXPECT_THAT(Launch(harness, list_text, argument), ElementsAre(testing::StartsWith(result)));
  }
  // Only a running OUTLOOK.EXE of that exact name with a process id refuses; without a
  // snapshot the launch goes on; a failed start reports its code.
  harness.processes.running = std::vector<Processes::Entry>{{0, "OUTLOOK.EXE"}, {12, "outlook"}};
  EXPECT_EQ(Lines{Started("/safe")}, Launch(harness, "/safe", ""));
  harness.processes.running->push_back({13, "OUTLOOK.EXE"});
  harness.dialogs.Expect(MessageKind::Warning, "Microsoft Outlook is currently running.");
  EXPECT_EQ(1u, Launch(harness, "/safe", "").size());
  harness.processes.running = std::nullopt;
  harness.processes.answer = {false, 2};
  harness.dialogs.Expect(MessageKind::Error,
                         "The attempt to launch Outlook using 64-bit Windows "
                         "returned the error code : 2");
  EXPECT_EQ(2u, Launch(harness, "/safe", "").size());
}

// The 64-bit read's path is quoted for the command line; 32-bit Windows opens the program
// through the shell; an install folder that is no full path leaves no program to start.
TEST(Launch, ProgramByMachine) {
  MainWindowHarness wide;
  Seed(wide, Machine::Outlook64, "C:\\Office\\");
  EXPECT_EQ(Lines{Started("/safe:1", "C:\\Office\\")}, Launch(wide, "/safe:1", ""));

  MainWindowHarness old(MemoryRegistry::Windows::Bits32);
  Seed(old, Machine::Windows32, kOffice);
  EXPECT_EQ(Lines{"shell open [\"" + std::string(kOffice) +
                  "OUTLOOK.EXE\"] parameters [/safe:1] folder [] show 1"},
            Launch(old, "/safe:1", ""));
  old.shell.result = 2;
  old.dialogs.Expect(MessageKind::Error,
                     "The attempt to launch Outlook in 32-bit Windows "
                     "returned the error code : 2");
  EXPECT_EQ(2u, Launch(old, "/safe:1", "").size());

  for (Machine machine : {Machine::Outlook32, Machine::Outlook64}) {
    for (const char* folder : {"Office14\\", "", "C:Office14\\", "\\Office14\\"}) {
      MainWindowHarness harness;
      Seed(harness, machine, folder);
      harness.dialogs.Expect(MessageKind::Warning, "The location of Microsoft Outlook could not");
      EXPECT_EQ(1u, Launch(harness, "/checkclient", "").size()) << folder;
    }
  }
}

}  // namespace
}  // namespace tarnwell

// The "Startup Options" page: the switches' notes and kinds by version, and the launch.
#include "windows/startup_page.h"

#include <gmock/gmock.h>

#include "support/main_window_harness.h"
#include "support/versions.h"

namespace tarnwell {
namespace {

using namespace tform1;
using testing::StartsWith;

void Choose(Form& form, std::string_view list_text) {
  const auto items = form.Items(lbCLOptions);
  const auto at = std::find(items.begin(), items.end(), list_text);
  form.Select(lbCLOptions, at == items.end() ? -1 : static_cast<int>(at - items.begin()));
}

// A click shows the version's note above the row's text; the row's kind and note set the controls.
TEST(OptionsPage, AClickSetsThePageByTheRowAndVersion) {
  const std::tuple<const char*, const char*, const char*, bool, bool, bool> rows[] = {
      {"/a", "14", "Creates an item", true, true, true},
      {"/simplemapi", "15", "OUTLOOK 2013 ONLY", false, false, true},
      {"/share", "16", "OUTLOOK 2007 AND LATER", true, false, true},
      {"/firstrun", "16", "REMOVED IN OUTLOOK 2010 AND LATER", false, false, false},
      {"/cleanpst", "16", "REMOVED IN OUTLOOK 2007 AND LATER", false, false, false},
      {"/cleanfreebusy", "16", "REMOVED IN OUTLOOK 2016 AND LATER", false, false, false},
      {"/cleanfreebusy", "15", "Clears", false, false, true},
      {"", "14", "", false, false, true}};  // nothing selected: only clears
  MainWindowHarness h;
  MemoryForm& form = h.form;
  h.Create();  // no Outlook: the page starts disabled
  for (const auto& [list_text, major, first_line, argument, browse, launch] : rows) {
    SCOPED_TRACE(std::string(list_text) + " in " + major);
    form.SetText(edArgument, "typed before");
    Choose(form, list_text);
    ShowCommandLineOption(form, Version(major));
    const auto lines = form.Lines(mDescription);
    EXPECT_EQ(!*first_line, lines.empty());
    EXPECT_THAT(lines.empty() ? "" : lines[0], StartsWith(first_line));
    const bool note = std::string_view(first_line).find("OUTLOOK") != std::string_view::npos;
    EXPECT_TRUE(!note || lines.at(1).empty());  // a note stands apart
    EXPECT_TRUE(form.CaretAtStart(mDescription));
    EXPECT_EQ("", form.Text(edArgument));
    EXPECT_EQ(argument, form.Enabled(edArgument));
    EXPECT_EQ(argument ? FieldColour::Window : FieldColour::Silver, form.Colour(edArgument));
    EXPECT_EQ(browse, form.Enabled(btnBrowse6));
    EXPECT_EQ(launch, form.Enabled(btnLaunchOutlook));
  }
}

enum class Machine { Outlook32, Outlook64, Windows32 };
const std::string kOffice = "C:\\Program Files (x86)\\Microsoft Office\\Office14\\";

// Outlook 2010 whose Word InstallRoot names `folder`, in the branch its bitness reads.
void Seed(MainWindowHarness& h, Machine machine, const std::string& folder) {
  const std::string root = "Microsoft\\Office\\14.0\\Word\\InstallRoot";
  const bool wide = machine == Machine::Outlook64;
  (wide ? Seed64BitOutlook : SeedNativeOutlook)(h.registry, "14")
      .String("Bitness", wide ? "x64" : "x86");
  h.registry
      .Key(Root::LocalMachine, wide ? "Software\\" + root : NativeMachinePath(h.registry, root))
      .String("Path", folder);
  h.files.AddFile("D:\\Macros\\Vba Project.otm").AddFolder("D:\\Macros");
  h.Create();
}

std::vector<std::string> Launch(MainWindowHarness& h, std::string_view list_text,
                                std::string_view argument = "") {
  Choose(h.form, list_text);
  h.window.OnEvent(lbCLOptions, Event::Click);
  h.form.Type(edArgument, argument);
  return h.Press(btnLaunchOutlook);
}

std::string Started(std::string_view tail, std::string folder = kOffice) {
  return "start process [\"" + folder + "OUTLOOK.EXE\" " + std::string(tail) + "] flags 0x220";
}

// Only a running "OUTLOOK.EXE" with a process id refuses; without a snapshot the launch goes on.
TEST(Launch, RunningOutlookAndFailedStarts) {
  MainWindowHarness h, old(MemoryRegistry::Windows::Bits32);
  Seed(h, Machine::Outlook32, kOffice);
  h.processes.running = std::vector<Processes::Entry>{{0, "OUTLOOK.EXE"}, {12, "outlook"}};
  EXPECT_EQ(std::vector{Started("/safe")}, Launch(h, "/safe"));
  h.processes.running->push_back({13, "OUTLOOK.EXE"});
  h.dialogs.Expect(MessageKind::Warning, "Microsoft Outlook is currently running.");
  EXPECT_EQ(1u, Launch(h, "/safe").size());
  h.processes.running = std::nullopt;
  h.processes.answer = {false, 2};
  h.dialogs.Expect(MessageKind::Error, "The attempt to launch Outlook using 64-bit Windows");
  EXPECT_EQ(2u, Launch(h, "/safe").size());
  Seed(old, Machine::Windows32, kOffice);
  old.shell.result = 2;
  old.dialogs.Expect(MessageKind::Error, "The attempt to launch Outlook in 32-bit Windows");
  EXPECT_EQ(2u, Launch(old, "/safe:1").size());
}

}  // namespace
}  // namespace tarnwell

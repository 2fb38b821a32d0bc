// The About window and the help button, pressed on the main window of an in-memory machine:
// what the window shows, where its mail link leads, and where help is looked for.
#include "windows/about_window.h"

#include <algorithm>
#include <gmock/gmock.h>
#include <string>
#include <vector>

#include "support/main_window_harness.h"
#include "tools/help_file.h"
#include "ui/about_layout.h"
#include "version.h"

namespace tarnwell {
namespace {

using testing::ElementsAre;

constexpr const char* kHelpMissing =
    "warning: The help file (tarnwell-help.pdf) cannot be found.  It should be located where the "
    "application is installed.";

class AboutTest : public testing::Test, protected MainWindowHarness {
 protected:
  AboutTest() { Create(); }

  // Presses "&About"; `interact` acts in the window while it is shown.
  std::vector<std::string> Press(ScriptedDialogs::Interaction interact = {}) {
    dialogs.ExpectWindow("About Tarnwell", std::move(interact));
    journal.Clear();
    Dispatch(window, dialogs, tform1::btnAbout, Event::Click);
    return journal.Entries();
  }

  std::vector<std::string> PressHelp() {
    journal.Clear();
    Dispatch(window, dialogs, tform1::btnHelp, Event::Click);
    return journal.Entries();
  }
};

TEST_F(AboutTest, ShowsTheBuiltVersionAndTheTrademarkInTheProgramsCodePage) {
  Press([](MemoryForm& about, EventSink&) {
    EXPECT_EQ(std::string("Version ") + TARNWELL_VERSION_TEXT, about.Text(tform2::lblVersion));
    EXPECT_EQ("Tarnwell", about.Text(tform2::lblProduct));
    // Windows-1252: the registered sign is one byte, and the sentence keeps its last blank.
    const std::string trademark = about.Text(tform2::lblTrademark);
    EXPECT_EQ(std::string::npos, trademark.find("\xC2\xAE"));
    EXPECT_EQ(2, std::count(trademark.begin(), trademark.end(), '\xAE'));
    EXPECT_EQ(' ', trademark.back());
  });
}

TEST_F(AboutTest, EachPressMakesAFreshWindowThatCloseCloses) {
  EXPECT_THAT(Press([this](MemoryForm& about, EventSink& logic) {
                Dispatch(logic, dialogs, tform2::btnClose, Event::Click);
                EXPECT_TRUE(about.Closed());
              }),
              ElementsAre("window: About Tarnwell"));
  EXPECT_THAT(Press([](MemoryForm& about, EventSink&) { EXPECT_FALSE(about.Closed()); }),
              ElementsAre("window: About Tarnwell"));
}

TEST_F(AboutTest, TheMailLinkOpensTheMailProgramWithTheSubject) {
  shell.result = 2;  // no mail program: the failure is not reported
  EXPECT_THAT(Press([this](MemoryForm&, EventSink& logic) {
                Dispatch(logic, dialogs, tform2::OHUrlLabel1, Event::Click);
              }),
              ElementsAre("window: About Tarnwell",
                          "shell open [mailto:tarnwell@example.org?subject=Tarnwell "
                          "Question/Problem] parameters [] folder [] show 5"));
}

TEST_F(AboutTest, HelpOpensTheFileBesideTheProgramOnly) {
  files.SetProgramFolder("C:\\Program Files (x86)\\Tarnwell\\");
  files.AddFile("C:\\Users\\me\\tarnwell-help.pdf");  // the current folder's does not count
  dialogs.Expect(MessageKind::Warning, kHelpMissing + 9);
  EXPECT_THAT(PressHelp(), ElementsAre(kHelpMissing));

  files.AddFile("C:\\Program Files (x86)\\Tarnwell\\tarnwell-help.pdf");
  shell.result = 31;  // no PDF reader: nothing more is said
  EXPECT_THAT(PressHelp(), ElementsAre("shell open [C:\\Program Files (x86)\\Tarnwell\\"
                                       "tarnwell-help.pdf] parameters [] folder [] show 1"));
}

}  // namespace
}  // namespace tarnwell

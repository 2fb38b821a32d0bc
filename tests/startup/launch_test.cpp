#include "startup/launch.h"

#include <gmock/gmock.h>

#include "startup/command_line_catalogue.h"
#include "support/main_window_harness.h"
#include "windows/startup_page.h"

namespace tarnwell {
namespace {

using namespace tform1;
using Lines = std::vector<std::string>;

constexpr const char* kOffice32 = "C:\\Program Files (x86)\\Microsoft Office\\Office14\\";
constexpr const char* kOffice64 = "C:\\Program Files\\Microsoft Office\\Office14\\";

class Launch : public testing::Test, protected MainWindowHarness {
 protected:
  enum class Machine { Windows64Outlook32, Windows64Outlook64, Windows32 };

  explicit Launch(Machine machine = Machine::Windows64Outlook32)
      : MainWindowHarness(machine == Machine::Windows32 ? MemoryRegistry::Windows::Bits32
                                                        : MemoryRegistry::Windows::Bits64) {
    if (machine == Machine::Windows64Outlook64) {
      Seed64BitOutlook(registry, "14").String("Bitness", "x64");
      registry.Key(Root::LocalMachine, "Software\\Microsoft\\Office\\14.0\\Word\\InstallRoot")
          .String("Path", kOffice64);
    } else {
      SeedNativeOutlook(registry, "14").String("Bitness", "x86");
      registry
          .Key(Root::LocalMachine,
               NativeMachinePath(registry, "Microsoft\\Office\\14.0\\Word\\InstallRoot"))
          .String("Path", kOffice32);
    }
    files.AddFile("D:\\My Macros\\Vba Project.otm").AddFolder("D:\\My Macros");
    Create();
  }

  void Choose(std::string_view list_text, std::string_view argument = {}) {
    const auto& catalogue = CommandLineOptionCatalogue();
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
      if (catalogue[i].list_text == list_text) {
        form.Select(lbCLOptions, static_cast<int>(i));
      }
    }
    window.OnEvent(lbCLOptions, Event::Click);
    if (!argument.empty()) {
      form.Type(edArgument, argument);
    }
  }

  Lines LaunchNow() {
    window.OnEvent(btnLaunchOutlook, Event::Click);
    return journal.Entries();
  }

  static std::string Started(std::string_view command_line) {
    return "start process [" + std::string(command_line) + "] flags 0x220";
  }
  static std::string Warning(std::string_view text) {
    return ScriptedDialogs::Line(MessageKind::Warning, text);
  }
};

TEST_F(Launch, FileArgumentGoesInQuotesAfterTheQuotedProgram) {
  Choose("/altvba <otmfilename>", "D:\\My Macros\\Vba Project.otm");
  EXPECT_EQ(Lines{Started("\"C:\\Program Files (x86)\\Microsoft Office\\Office14\\OUTLOOK.EXE\" "
                          "/altvba \"D:\\My Macros\\Vba Project.otm\"")},
            LaunchNow());
}

TEST_F(Launch, TextArgumentGoesAsTypedAndASwitchAlone) {
  Choose("/profile <profilename>", "Home Office");
  LaunchNow();
  Choose("/safe:1");
  LaunchNow();
  Choose("/select <foldername>", "  ");
  EXPECT_EQ((Lines{Started("\"C:\\Program Files (x86)\\Microsoft Office\\Office14\\OUTLOOK.EXE\" "
                           "/profile Home Office"),
                   Started("\"C:\\Program Files (x86)\\Microsoft Office\\Office14\\OUTLOOK.EXE\" "
                           "/safe:1"),
                   Started("\"C:\\Program Files (x86)\\Microsoft Office\\Office14\\OUTLOOK.EXE\" "
                           "/select   ")}),
            LaunchNow());
}

TEST_F(Launch, SwitchesWithoutPlaceholderGetTheBlankToo) {
  files.AddFile("D:\\labels.doc");
  Choose("/a", "D:\\labels.doc");
  LaunchNow();
  Choose("/share", "stssync://intranet/list");
  EXPECT_EQ((Lines{Started("\"C:\\Program Files (x86)\\Microsoft Office\\Office14\\OUTLOOK.EXE\" "
                           "/a \"D:\\labels.doc\""),
                   Started("\"C:\\Program Files (x86)\\Microsoft Office\\Office14\\OUTLOOK.EXE\" "
                           "/share stssync://intranet/list")}),
            LaunchNow());
}

TEST_F(Launch, RefusalsComeInTheirOrderAndStartNothing) {
  form.Type(edArgument, "ignored");
  dialogs.Expect(MessageKind::Warning,
                 "You must click on a command-line option in the list to continue.");
  LaunchNow();
  const std::string required =
      "The command-line option you have selected requires an option argument to continue.  "
      "Please enter the correct information in the Addtional Option Argument field.";
  Choose("/altvba <otmfilename>");
  dialogs.Expect(MessageKind::Warning, required);
  LaunchNow();
  for (const char* missing : {"D:\\Nothing.otm", "D:\\My Macros", "  "}) {
    Choose("/altvba <otmfilename>", missing);
    dialogs.Expect(MessageKind::Warning, "The file specified : (" + std::string(missing) +
                                             ") does not exist.  Please try again.");
    LaunchNow();
  }
  Choose("/safe");
  processes.running =
      std::vector<Processes::Entry>{{0, "OUTLOOK.EXE"}, {12, "outlook.exe"}, {13, "OUTLOOK.EXE"}};
  dialogs.Expect(MessageKind::Warning,
                 "Microsoft Outlook is currently running. Please close the application and try "
                 "again.");
  const Lines lines = LaunchNow();
  for (const auto& line : lines) {
    EXPECT_EQ(std::string::npos, line.find("start process")) << line;
  }
  EXPECT_EQ(6u, lines.size());
}

TEST_F(Launch, RunningCheckIsExactAndGoesOnWithoutASnapshot) {
  Choose("/safe");
  processes.running = std::vector<Processes::Entry>{{0, "OUTLOOK.EXE"}, {12, "outlook.exe"}};
  LaunchNow();
  processes.running = std::nullopt;
  LaunchNow();
  EXPECT_EQ(2u, journal.Entries().size());
}

TEST_F(Launch, FailureToStartReportsTheErrorCode) {
  Choose("/safe");
  processes.answer = {false, 2};
  dialogs.Expect(MessageKind::Error,
                 "The attempt to launch Outlook using 64-bit Windows returned the error code : 2");
  LaunchNow();
}

class Launch64BitOutlook : public Launch {
 protected:
  Launch64BitOutlook() : Launch(Machine::Windows64Outlook64) {}
};

// The 64-bit load's path has no quotes of its own; it is quoted for the command line.
TEST_F(Launch64BitOutlook, UnquotedPathIsQuotedInTheCommandLine) {
  ASSERT_FALSE(state.Use32BitReadPath);
  ASSERT_EQ("C:\\Program Files\\Microsoft Office\\Office14\\OUTLOOK.EXE",
            state.Loaded.OutlookExePath);
  Choose("/safe:1");
  EXPECT_EQ(
      Lines{Started("\"C:\\Program Files\\Microsoft Office\\Office14\\OUTLOOK.EXE\" /safe:1")},
      LaunchNow());
}

class Launch32BitWindows : public Launch {
 protected:
  Launch32BitWindows() : Launch(Machine::Windows32) {}
};

TEST_F(Launch32BitWindows, ShellOpensTheProgramWithTheTail) {
  ASSERT_FALSE(state.Is64BitWindows);
  Choose("/altvba <otmfilename>", "D:\\My Macros\\Vba Project.otm");
  LaunchNow();
  shell.result = 2;
  Choose("/safe:1");
  dialogs.Expect(MessageKind::Error,
                 "The attempt to launch Outlook in 32-bit Windows returned the error code : 2");
  const std::string program =
      "[\"C:\\Program Files (x86)\\Microsoft Office\\Office14\\OUTLOOK.EXE\"]";
  EXPECT_EQ((Lines{"shell open " + program +
                       " parameters [/altvba \"D:\\My Macros\\Vba "
                       "Project.otm\"] folder [] show 1",
                   "shell open " + program + " parameters [/safe:1] folder [] show 1",
                   ScriptedDialogs::Line(MessageKind::Error,
                                         "The attempt to launch Outlook in 32-bit Windows "
                                         "returned the error code : 2")}),
            LaunchNow());
}

// Click-to-Run names its Office folder itself: in either bitness its OUTLOOK.EXE is started.
TEST(LaunchClickToRun, StartsTheDetectedProgramQuoted) {
  for (auto [platform, office] : {std::pair{"x64", "C:\\Program Files\\MSO"},
                                  std::pair{"x86", "C:\\Program Files (x86)\\MSO"}}) {
    MainWindowHarness harness;
    harness.registry
        .Key(Root::LocalMachine, "Software\\Microsoft\\Office\\ClickToRun\\Configuration")
        .String("InstallationPath", office)
        .String("Platform", platform);
    harness.files.AddFile(std::string(office) + "\\root\\Office16\\OUTLOOK.EXE");
    harness.Create();
    harness.form.Select(lbCLOptions, 3);  // /checkclient
    harness.window.OnEvent(lbCLOptions, Event::Click);
    harness.window.OnEvent(btnLaunchOutlook, Event::Click);
    EXPECT_EQ(Lines{"start process [\"" + std::string(office) +
                    "\\root\\Office16\\OUTLOOK.EXE\" /checkclient] flags 0x220"},
              harness.journal.Entries());
  }
}

// With no Outlook found, or no install folder that is a full path (one that is not would
// have Outlook looked for in the current folder), there is no program to start: both loads
// leave its path empty and the launch warns.
TEST(LaunchWithoutProgram, WarnsInsteadOfStartingNothing) {
  enum class Found { None, Native, SixtyFourBit };
  for (const Found found : {Found::None, Found::Native, Found::SixtyFourBit}) {
    for (const char* folder : {"Office14\\", "", "C:Office14\\", "\\Office14\\"}) {
      SCOPED_TRACE(std::to_string(static_cast<int>(found)) + " " + folder);
      MainWindowHarness harness;
      if (found == Found::SixtyFourBit) {
        Seed64BitOutlook(harness.registry, "14").String("Bitness", "x64");
        harness.registry
            .Key(Root::LocalMachine, "Software\\Microsoft\\Office\\14.0\\Word\\InstallRoot")
            .String("Path", folder);
      } else if (found == Found::Native) {
        SeedNativeOutlook(harness.registry, "14").String("Bitness", "x86");
        harness.registry
            .Key(Root::LocalMachine,
                 NativeMachinePath(harness.registry, "Microsoft\\Office\\14.0\\Word\\InstallRoot"))
            .String("Path", folder);
      }
      harness.Create();
      harness.form.Select(lbCLOptions, 3);  // /checkclient
      harness.window.OnEvent(lbCLOptions, Event::Click);
      ASSERT_TRUE(harness.form.Enabled(btnLaunchOutlook));
      harness.dialogs.Expect(MessageKind::Warning,
                             "The location of Microsoft Outlook could not be found, so Outlook "
                             "cannot be started.");
      harness.window.OnEvent(btnLaunchOutlook, Event::Click);
      EXPECT_EQ(1u, harness.journal.Entries().size());
    }
  }
}

}  // namespace
}  // namespace tarnwell

// The Inbox Repair Tool and the profile export, pressed on the main window: which tool is
// found and started, and what the export reports for what the Registry Editor did.
#include <gmock/gmock.h>

#include "support/main_window_harness.h"
#include "support/versions.h"
#include "tools/profile_export.h"

namespace tarnwell {
namespace {

using namespace tform1;
using testing::ElementsAre;
using Lines = std::vector<std::string>;
const std::string kShared = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const std::string kNotFound = "warning: The location for the Inbox Repair Tool could not be";
const std::string kMissing = "warning: Either the path of the Inbox Repair Tool is empty or";

std::string Opened(const std::string& path) {
  return "shell open [" + path + "] parameters [] folder [] show 1";
}

struct RepairTool : testing::Test, MainWindowHarness {
  RepairTool() {
    for (const char* major : {"12", "14", "16"}) {
      const std::string root = std::string("Microsoft\\Office\\") + major + ".0\\Word\\InstallRoot";
      registry.Key(Root::LocalMachine, NativeMachinePath(registry, root))
          .String("Path", "C:\\32\\");
      registry.Key(Root::LocalMachine, "Software\\" + root).String("Path", "D:\\64\\");
    }
    files.AddFile("C:\\32\\ScanPST.exe").AddFile("D:\\64\\ScanPST.exe");
  }
  // What a press does; `expected` is a warning's beginning or the program opened.
  void Press(const char* major, Bitness bitness, const std::string& expected, bool wide = true,
             InstallKind kind = InstallKind::Msi) {
    state.OutlookVersion = Installed(major, bitness);
    state.OutlookVersion.Kind = kind;
    state.OutlookVersion.ProgramFolder = "C:\\MSO\\";
    state.Is64BitWindows = wide;
    if (expected.starts_with("warning: "))
      dialogs.Expect(MessageKind::Warning, expected.substr(9));
    EXPECT_THAT(MainWindowHarness::Press(btnScanPST), ElementsAre(testing::StartsWith(expected)))
        << major;
  }
};

// By version and bitness: Word's InstallRoot (2007 on), the first shared file named in
// capitals (before), Click-to-Run's Office folder; only a full path is started.
TEST_F(RepairTool, TheSearchFollowsVersionAndBitness) {
  Press("14", Bitness::Bits32, Opened("C:\\32\\ScanPST.exe"));
  Press("14", Bitness::Bits64, Opened("D:\\64\\ScanPST.exe"));
  Press("12", Bitness::Bits64, Opened("C:\\32\\ScanPST.exe"));
  Press("14", Bitness::Bits64, Opened("C:\\32\\ScanPST.exe"), false);
  Press("16", Bitness::Bits64, Opened("D:\\64\\ScanPST.exe"));
  Press("14", Bitness::NotDetermined, kNotFound);
  Press("16", Bitness::Bits64, kMissing, true, InstallKind::ClickToRun);
  files.AddFile("C:\\MSO\\SCANPST.EXE");
  Press("16", Bitness::Bits64, Opened("C:\\MSO\\SCANPST.EXE"), true, InstallKind::ClickToRun);

  registry.Key(Root::LocalMachine, kShared)
      .Dword("C:\\Apps\\scanpst.exe", 1)
      .Dword("D:\\Mapi\\SCANPST.EXE", 1)
      .Dword("E:\\Other\\SCANPST.EXE", 1);
  files.AddFile("E:\\Other\\SCANPST.EXE");
  Press("11", Bitness::Bits32, kMissing);
  files.AddFile("D:\\Mapi\\SCANPST.EXE");
  Press("11", Bitness::Bits32, Opened("D:\\Mapi\\SCANPST.EXE"));
  registry.DeleteTree(Root::LocalMachine, kShared);  // a name too long ends the enumeration
  registry.Key(Root::LocalMachine, kShared)
      .Dword("A:\\" + std::string(300, 'x'), 1)
      .Dword("D:\\Mapi\\SCANPST.EXE", 1);
  Press("9", Bitness::Bits32, kNotFound);
  registry.Key(Root::LocalMachine, kShared)
      .Remove("A:\\" + std::string(300, 'x'))
      .Dword("SCANPST.EXE", 1);
  Press("10", Bitness::Bits32, Opened("D:\\Mapi\\SCANPST.EXE"));

  auto office =
      registry.Key(Root::LocalMachine,
                   NativeMachinePath(registry, "Microsoft\\Office\\14.0\\Word\\InstallRoot"));
  files.AddFile("ScanPST.exe").AddFile("\\\\server\\office\\ScanPST.exe");
  const std::pair<const char*, std::string> paths[] = {
      {"", kNotFound},
      {"\\\\server\\office\\", Opened("\\\\server\\office\\ScanPST.exe")},
      {"D:\\Apps\\Office", kMissing}};
  for (const auto& [path, expected] : paths) {
    office.String("Path", path);
    Press("14", Bitness::Bits32, expected);
  }
  office.Dword("Path", 1);
  dialogs.ExpectError("Invalid data type for 'Path'");
  Press("14", Bitness::Bits32, "error box: Invalid data type for 'Path'");
}

// Refused on Windows 8; stopped by No or a cancel; a success only when the Registry Editor
// ended after writing the file; the branch is the detected version's profiles.
TEST(ProfileExport, AsksChoosesRunsAndReports) {
  MainWindowHarness harness;
  harness.state.IsWindows8 = true;
  harness.dialogs.Expect(MessageKind::Warning, "This feature has currently been tested");
  harness.Press(btnSaveUserInfo);
  harness.state.IsWindows8 = false;
  const char* kQuestion = "This feature will extract your Microsoft Outlook user information";
  const FileDialogOptions dialog{"Save Outlook User Information", "OutlookUserBackup-2013-4-7",
                                 ".reg", "Registry Files|*.reg"};
  harness.dialogs.Expect(MessageKind::Confirmation, kQuestion, Answer::No)
      .Expect(MessageKind::Confirmation, kQuestion, Answer::Yes)
      .ExpectSaveFile(dialog, std::nullopt);
  harness.Press(btnSaveUserInfo);
  EXPECT_EQ(2u, harness.Press(btnSaveUserInfo).size());
  const std::string file = "D:\\Backup\\profile copy.reg";
  const std::string profiles = "\"HKEY_CURRENT_USER\\Software\\Microsoft\\";
  const std::tuple<const char*, Shell::Ran, bool, std::string> rows[] = {
      {"14", Shell::Ran::Ended, true, "Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\"},
      {"15", Shell::Ran::Ended, false, "Office\\15.0\\Outlook\\"},
      {"16", Shell::Ran::StillRunning, true, "Office\\16.0\\Outlook\\"},
      {"16", Shell::Ran::NotStarted, true, "Office\\16.0\\Outlook\\"}};
  for (const auto& [major, ran, writes, branch] : rows) {
    harness.state.OutlookVersion = Installed(major);
    harness.shell.ran = ran;
    harness.shell.on_run = [&harness, &file, writes = writes] {
      if (writes)
        harness.files.Write(file);
    };
    const bool saved = ran == Shell::Ran::Ended && writes;
    harness.dialogs.Expect(MessageKind::Confirmation, kQuestion, Answer::Yes)
        .ExpectSaveFile(dialog, file)
        .Expect(saved ? MessageKind::Information : MessageKind::Error,
                saved ? "Microsoft Outlook user information successfully saved!"
                      : "There was an error saving the Microsoft Outlook user information.");
    EXPECT_EQ("shell run [regedit.exe] parameters [/e \"" + file + "\" " + profiles + branch +
                  "Profiles\"] show 1 wait 60000",
              harness.Press(btnSaveUserInfo).at(2));
  }
  EXPECT_EQ("OutlookUserBackup-2012-11-5", DefaultExportName({2012, 11, 5}));
}

}  // namespace
}  // namespace tarnwell

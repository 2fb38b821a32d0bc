// The Inbox Repair Tool and the profile export, pressed on the main window.
#include <gmock/gmock.h>

#include "support/main_window_harness.h"
#include "support/versions.h"

namespace tarnwell {
namespace {

using namespace tform1;
const std::string kShared = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const std::string kNotFound = "warning: The location for the Inbox Repair Tool could not be";
std::string Opened(const std::string& path) {
  return "shell open [" + path + "] parameters [] folder [] show 1";
}

// By version and bitness: InstallRoot from 2007, the first shared SCANPST.EXE before, C2R's folder.
TEST(RepairTool, TheSearchFollowsVersionAndBitness) {
  MainWindowHarness h;
  for (const char* major : {"12", "14"}) {
    const std::string root = std::string("Microsoft\\Office\\") + major + ".0\\Word\\InstallRoot";
    h.registry.Key(Root::LocalMachine, NativeMachinePath(h.registry, root))
        .String("Path", "C:\\32\\");
    h.registry.Key(Root::LocalMachine, "Software\\" + root).String("Path", "D:\\64\\");
  }
  h.files.AddFile("C:\\32\\ScanPST.exe")
      .AddFile("D:\\64\\ScanPST.exe")
      .AddFile("C:\\MSO\\SCANPST.EXE");
  h.files.AddFile("E:\\Other\\SCANPST.EXE").AddFile("\\\\server\\office\\ScanPST.exe");
  h.registry.Key(Root::LocalMachine, kShared)
      .Dword("C:\\Apps\\scanpst.exe", 1)
      .Dword("D:\\Mapi\\SCANPST.EXE", 1)
      .Dword("E:\\Other\\SCANPST.EXE", 1);
  const auto press = [&h](const char* major, Bitness bitness, const std::string& expected,
                          bool wide = true, InstallKind kind = InstallKind::Msi) {
    h.state.OutlookVersion = Installed(major, bitness);
    h.state.OutlookVersion.Kind = kind;
    h.state.OutlookVersion.ProgramFolder = "C:\\MSO\\";
    h.state.Is64BitWindows = wide;
    if (expected.starts_with("warning: "))
      h.dialogs.Expect(MessageKind::Warning, expected.substr(9));
    EXPECT_THAT(h.Press(btnScanPST), testing::ElementsAre(testing::StartsWith(expected))) << major;
  };
  press("14", Bitness::Bits32, Opened("C:\\32\\ScanPST.exe"));
  press("14", Bitness::Bits64, Opened("D:\\64\\ScanPST.exe"));
  press("12", Bitness::Bits64, Opened("C:\\32\\ScanPST.exe"));
  press("14", Bitness::Bits64, Opened("C:\\32\\ScanPST.exe"), false);
  press("16", Bitness::Bits64, Opened("C:\\MSO\\SCANPST.EXE"), true, InstallKind::ClickToRun);
  h.files.AddFile("D:\\Mapi\\SCANPST.EXE").AddFile("C:\\Apps\\scanpst.exe");
  press("11", Bitness::Bits32, Opened("D:\\Mapi\\SCANPST.EXE"));
  auto office =
      h.registry.Key(Root::LocalMachine,
                     NativeMachinePath(h.registry, "Microsoft\\Office\\14.0\\Word\\InstallRoot"));
  office.String("Path", "\\\\server\\office\\");
  press("14", Bitness::Bits32, Opened("\\\\server\\office\\ScanPST.exe"));
  office.Dword("Path", 1);
  h.dialogs.ExpectError("Invalid data type for 'Path'");
  press("14", Bitness::Bits32, "error box: Invalid data type for 'Path'");
}

// Refused on Windows 8, stopped by No or cancel; a success needs the file written, regedit ended.
TEST(ProfileExport, AsksChoosesRunsAndReports) {
  MainWindowHarness h;
  h.state.IsWindows8 = true;
  h.dialogs.Expect(MessageKind::Warning, "This feature has currently been tested");
  h.Press(btnSaveUserInfo);
  h.state.IsWindows8 = false;
  const char* kQuestion = "This feature will extract your Microsoft Outlook user information";
  const FileDialogOptions dialog{"Save Outlook User Information", "OutlookUserBackup-2013-4-7",
                                 ".reg", "Registry Files|*.reg"};
  h.dialogs.Expect(MessageKind::Confirmation, kQuestion, Answer::No)
      .Expect(MessageKind::Confirmation, kQuestion, Answer::Yes)
      .ExpectSaveFile(dialog, std::nullopt);
  h.Press(btnSaveUserInfo);
  EXPECT_EQ(2u, h.Press(btnSaveUserInfo).size());
  const std::string file = "D:\\Backup\\profile copy.reg";
  const std::tuple<const char*, Shell::Ran, bool, std::string> rows[] = {
      {"14", Shell::Ran::Ended, true, "Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\"},
      {"15", Shell::Ran::Ended, false, "Office\\15.0\\Outlook\\"},
      {"16", Shell::Ran::StillRunning, true, "Office\\16.0\\Outlook\\"}};
  for (const auto& [major, ran, writes, branch] : rows) {
    h.state.OutlookVersion = Installed(major);
    h.shell.ran = ran;
    const std::string written = writes ? file : "D:\\Backup\\other.reg";
    h.shell.on_run = [&h, written] { h.files.Write(written); };
    const bool saved = ran == Shell::Ran::Ended && writes;
    h.dialogs.Expect(MessageKind::Confirmation, kQuestion, Answer::Yes)
        .ExpectSaveFile(dialog, file)
        .Expect(saved ? MessageKind::Information : MessageKind::Error,
                saved ? "Microsoft Outlook user information successfully" : "There was an error");
    EXPECT_EQ("shell run [regedit.exe] parameters [/e \"" + file +
                  "\" \"HKEY_CURRENT_USER\\Software\\Microsoft\\" + branch +
                  "Profiles\"] show 1 wait 60000",
              h.Press(btnSaveUserInfo).at(2));
  }
}

}  // namespace
}  // namespace tarnwell

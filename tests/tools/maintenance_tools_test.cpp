// The Inbox Repair Tool and the profile export, pressed on the main window of an in-memory
// machine: which tool is found and started, and what the export reports for what the
// Registry Editor did.
#include <gmock/gmock.h>
#include <string>
#include <vector>

#include "support/main_window_harness.h"
#include "support/versions.h"
#include "tools/profile_export.h"

namespace tarnwell {
namespace {

using namespace tform1;
using testing::ElementsAre;

constexpr const char* kNotFound =
    "warning: The location for the Inbox Repair Tool could not be found.";
constexpr const char* kMissing =
    "warning: Either the path of the Inbox Repair Tool is empty or the file (ScanPST.exe) does "
    "not exist.";
constexpr const char* kSharedFiles = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

std::string Opened(const std::string& path) {
  return "shell open [" + path + "] parameters [] folder [] show 1";
}

class RepairTool : public testing::Test, protected MainWindowHarness {
 protected:
  void SetUp() override {
    for (const char* major : {"12", "14", "16"}) {
      registry
          .Key(Root::LocalMachine, NativeMachinePath(registry, std::string("Microsoft\\Office\\") +
                                                                   major + ".0\\Word\\InstallRoot"))
          .String("Path", "C:\\Office32\\");
      registry
          .Key(Root::LocalMachine,
               std::string("Software\\Microsoft\\Office\\") + major + ".0\\Word\\InstallRoot")
          .String("Path", "D:\\Office64\\");
    }
    files.AddFile("C:\\Office32\\ScanPST.exe").AddFile("D:\\Office64\\ScanPST.exe");
  }

  std::vector<std::string> Press(const char* major, Bitness bitness, bool windows64 = true) {
    return Press(Installed(major, bitness), windows64);
  }
  std::vector<std::string> Press(const OutlookVersionInfo& outlook, bool windows64 = true) {
    state.OutlookVersion = outlook;
    state.Is64BitWindows = windows64;
    journal.Clear();
    Dispatch(window, dialogs, btnScanPST, Event::Click);
    return journal.Entries();
  }
};

TEST_F(RepairTool, TheSearchFollowsVersionAndBitness) {
  EXPECT_THAT(Press("14", Bitness::Bits32), ElementsAre(Opened("C:\\Office32\\ScanPST.exe")));
  EXPECT_THAT(Press("14", Bitness::Bits64), ElementsAre(Opened("D:\\Office64\\ScanPST.exe")));
  EXPECT_THAT(Press("12", Bitness::Bits64), ElementsAre(Opened("C:\\Office32\\ScanPST.exe")));
  EXPECT_THAT(Press("14", Bitness::Bits64, false),
              ElementsAre(Opened("C:\\Office32\\ScanPST.exe")));
  dialogs.Expect(MessageKind::Warning, kNotFound + 9);
  EXPECT_THAT(Press("14", Bitness::NotDetermined), ElementsAre(kNotFound));
}

// 16.0 by Windows Installer follows Word's InstallRoot as 2010 does; Click-to-Run has the
// tool beside OUTLOOK.EXE, named in capitals.
TEST_F(RepairTool, Office16ByInstallerAndClickToRunFindTheirOwnTool) {
  EXPECT_THAT(Press("16", Bitness::Bits64), ElementsAre(Opened("D:\\Office64\\ScanPST.exe")));
  OutlookVersionInfo click_to_run = Installed("16", Bitness::Bits64);
  click_to_run.Kind = InstallKind::ClickToRun;
  click_to_run.ProgramFolder = "C:\\MSO\\root\\Office16\\";
  dialogs.Expect(MessageKind::Warning, kMissing + 9);
  EXPECT_THAT(Press(click_to_run), ElementsAre(kMissing));
  files.AddFile("C:\\MSO\\root\\Office16\\SCANPST.EXE");
  EXPECT_THAT(Press(click_to_run), ElementsAre(Opened("C:\\MSO\\root\\Office16\\SCANPST.EXE")));
}

TEST_F(RepairTool, OlderVersionsTakeTheFirstSharedFileNamedInCapitals) {
  registry.Key(Root::LocalMachine, kSharedFiles)
      .Dword("C:\\Apps\\scanpst.exe", 1)
      .Dword("D:\\Apps\\Mapi\\SCANPST.EXE", 1)
      .Dword("E:\\Other\\SCANPST.EXE", 1);
  files.AddFile("E:\\Other\\SCANPST.EXE");
  dialogs.Expect(MessageKind::Warning, kMissing + 9);
  EXPECT_THAT(Press("11", Bitness::Bits32), ElementsAre(kMissing));
  files.AddFile("D:\\Apps\\Mapi\\SCANPST.EXE");
  EXPECT_THAT(Press("11", Bitness::Bits32), ElementsAre(Opened("D:\\Apps\\Mapi\\SCANPST.EXE")));

  // A name too long for the buffer ends the enumeration, and what follows is never seen.
  registry.DeleteTree(Root::LocalMachine, kSharedFiles);
  registry.Key(Root::LocalMachine, kSharedFiles)
      .Dword("A:\\" + std::string(300, 'x'), 1)
      .Dword("D:\\Apps\\Mapi\\SCANPST.EXE", 1);
  dialogs.Expect(MessageKind::Warning, kNotFound + 9);
  EXPECT_THAT(Press("9", Bitness::Bits32), ElementsAre(kNotFound));
}

// Nothing is started from the current folder: a candidate without a drive or a server is
// not found.
TEST_F(RepairTool, OnlyAFullPathIsStarted) {
  const std::string office =
      NativeMachinePath(registry, "Microsoft\\Office\\14.0\\Word\\InstallRoot");
  registry.Key(Root::LocalMachine, office).Remove("Path");
  files.AddFile("ScanPST.exe");
  dialogs.Expect(MessageKind::Warning, kNotFound + 9);
  EXPECT_THAT(Press("14", Bitness::Bits32), ElementsAre(kNotFound));

  registry.Key(Root::LocalMachine, office).String("Path", "\\\\server\\office\\");
  files.AddFile("\\\\server\\office\\ScanPST.exe");
  EXPECT_THAT(Press("14", Bitness::Bits32), ElementsAre(Opened("\\\\server\\office\\ScanPST.exe")));

  registry.Key(Root::LocalMachine, office).String("Path", "D:\\Apps\\Office");
  dialogs.Expect(MessageKind::Warning, kMissing + 9);
  EXPECT_THAT(Press("14", Bitness::Bits32), ElementsAre(kMissing));

  registry.Key(Root::LocalMachine, kSharedFiles).Dword("SCANPST.EXE", 1);
  dialogs.Expect(MessageKind::Warning, kNotFound + 9);
  EXPECT_THAT(Press("10", Bitness::Bits32), ElementsAre(kNotFound));

  registry.Key(Root::LocalMachine, office).Dword("Path", 1);
  dialogs.ExpectError("Invalid data type for 'Path'");
  EXPECT_THAT(Press("14", Bitness::Bits32), ElementsAre("error box: Invalid data type for 'Path'"));
}

class ProfileExport : public testing::Test, protected MainWindowHarness {
 protected:
  static constexpr const char* kQuestion =
      "This feature will extract your Microsoft Outlook user information into a Windows "
      "registry backup file.  Do you wish to continue?";
  static constexpr const char* kFile = "D:\\Backup\\profile copy.reg";
  static constexpr const char* kRun =
      "shell run [regedit.exe] parameters [/e \"D:\\Backup\\profile copy.reg\" "
      "\"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging "
      "Subsystem\\Profiles\"] show 1 wait 60000";
  static constexpr const char* kSaved =
      "information: Microsoft Outlook user information successfully saved!";
  static constexpr const char* kFailed =
      "error: There was an error saving the Microsoft Outlook user information.";

  const FileDialogOptions dialog_{"Save Outlook User Information", "OutlookUserBackup-2013-4-7",
                                  ".reg", "Registry Files|*.reg"};

  // Confirms, chooses the file, and lets the editor do `editor`; returns the journal.
  std::vector<std::string> Export(Shell::Ran ran, bool writes) {
    shell.ran = ran;
    shell.on_run = [this, writes] {
      if (writes) {
        files.Write(kFile);
      }
    };
    dialogs.Expect(MessageKind::Confirmation, kQuestion, Answer::Yes)
        .ExpectSaveFile(dialog_, kFile)
        .Expect(ran == Shell::Ran::Ended && writes ? MessageKind::Information : MessageKind::Error,
                std::string(ran == Shell::Ran::Ended && writes ? kSaved : kFailed)
                    .substr(std::string(ran == Shell::Ran::Ended && writes ? "information: "
                                                                           : "error: ")
                                .size()));
    journal.Clear();
    window.OnEvent(btnSaveUserInfo, Event::Click);
    return journal.Entries();
  }

  std::string SaveDialogLine() const {
    return "save file: title [Save Outlook User Information] name [OutlookUserBackup-2013-4-7] "
           "extension [.reg] filter [Registry Files|*.reg] -> " +
           std::string(kFile);
  }
};

TEST_F(ProfileExport, RefusedOnWindows8AndStoppedByNoOrCancel) {
  state.IsWindows8 = true;
  const char* refusal =
      "This feature has currently been tested with Windows versions below Windows 8 and has been "
      "successful, however is not functioning with Windows 8 and will be cancelled.";
  dialogs.Expect(MessageKind::Warning, refusal);
  window.OnEvent(btnSaveUserInfo, Event::Click);
  state.IsWindows8 = false;
  dialogs.Expect(MessageKind::Confirmation, kQuestion, Answer::No)
      .Expect(MessageKind::Confirmation, kQuestion, Answer::Yes)
      .ExpectSaveFile(dialog_, std::nullopt);
  window.OnEvent(btnSaveUserInfo, Event::Click);
  window.OnEvent(btnSaveUserInfo, Event::Click);
  EXPECT_THAT(journal.Entries(),
              ElementsAre(std::string("warning: ") + refusal,
                          std::string("confirmation: ") + kQuestion + " -> No",
                          std::string("confirmation: ") + kQuestion + " -> Yes",
                          "save file: title [Save Outlook User Information] name "
                          "[OutlookUserBackup-2013-4-7] extension [.reg] filter [Registry "
                          "Files|*.reg] -> cancelled"));
}

TEST_F(ProfileExport, SuccessOnlyWhenTheEditorEndedAfterWritingTheFile) {
  EXPECT_THAT(Export(Shell::Ran::Ended, true),
              ElementsAre(std::string("confirmation: ") + kQuestion + " -> Yes", SaveDialogLine(),
                          kRun, kSaved));
  // The file is there from the last export, but this one wrote nothing.
  EXPECT_THAT(Export(Shell::Ran::Ended, false).back(), kFailed);
  EXPECT_THAT(Export(Shell::Ran::StillRunning, true).back(), kFailed);
  EXPECT_THAT(Export(Shell::Ran::NotStarted, true).back(), kFailed);
}

// 2013 and later keep their mail profiles below their own Office key; 2010 does not.
TEST_F(ProfileExport, TheBranchIsTheDetectedVersionsProfiles) {
  state.OutlookVersion = Installed("14");
  EXPECT_EQ(kRun, Export(Shell::Ran::Ended, true).at(2));
  for (const char* major : {"15", "16"}) {
    state.OutlookVersion = Installed(major);
    EXPECT_EQ(
        "shell run [regedit.exe] parameters [/e \"D:\\Backup\\profile copy.reg\" "
        "\"HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\" +
            std::string(major) + ".0\\Outlook\\Profiles\"] show 1 wait 60000",
        Export(Shell::Ran::Ended, true).at(2));
  }
}

TEST(DefaultExportName, HasNoLeadingZeros) {
  EXPECT_EQ("OutlookUserBackup-2012-11-5", DefaultExportName({2012, 11, 5}));
}

}  // namespace
}  // namespace tarnwell

// The system menu's file commands after a real start-up on an in-memory machine: the export
// for other PCs, and the restore of a backup or an export.
#include <gmock/gmock.h>
#include <string>
#include <vector>

#include "support/main_window_harness.h"
#include "version.h"

namespace tarnwell {
namespace {

using namespace tform1;

constexpr const char* kFilter = "Registry Files (*.reg)|*.reg";

class SettingsFile : public testing::Test, protected MainWindowHarness {
 protected:
  // Outlook 2010 with a few settings, and folders that exist here.
  void Install() {
    SeedNativeOutlook(registry, "14").String("Bitness", "x86");
    const std::string office = OfficeKeyRoot(OfficeVersion::V14);
    registry.Key(Root::CurrentUser, office + "Outlook")
        .String("ForcePSTPath", "D:\\Mail\\")
        .Dword("DisableBGSave", 1);
    registry.Key(Root::CurrentUser, office + "Outlook\\Security")
        .String("OutlookSecureTempFolder", "C:\\Temp\\OLK1\\")
        .String("Level1Remove", "exe;url");
    files.AddFolder("D:\\Mail\\");
    files.AddFolder("C:\\Temp\\OLK1\\");
    files.AddFolder("C:\\Out\\");
    Create();
  }

  void ExpectExportDialog(std::optional<std::string> chosen) {
    FileDialogOptions options;
    options.title = "Export settings for other PCs";
    options.file_name = "Tarnwell-settings-14.reg";
    options.default_extension = ".reg";
    options.filter = kFilter;
    dialogs.ExpectSaveFile(options, std::move(chosen));
  }
};

// Every per-user value as the controls stand, folders as typed and unchecked, the allow
// list composed as the save would, nothing machine-wide, and nothing written here.
TEST_F(SettingsFile, ExportWritesEveryPerUserValueOfTheWindowAndLeavesTheRegistry) {
  Install();
  form.Type(edOSTPath, "E:\\Not\\Here\\");
  form.SetChecked(cbReadAsPlain, true);
  form.SetChecked(cbShowClipboard, true);
  form.SetChecked(cbDumpster, true);
  form.Select(lbBlocked, 0);
  window.OnEvent(btnAddOne, Event::Click);
  const std::string moved = form.Items(lbAllowed).back();
  journal.Clear();
  ExpectExportDialog("C:\\Out\\s.reg");
  dialogs.Expect(MessageKind::Information, "The settings were exported to C:\\Out\\s.reg.");
  window.OnEvent(miExportSettings, Event::Click);

  EXPECT_THAT(journal.Entries(), testing::Not(testing::Contains(testing::StartsWith("set "))));
  EXPECT_FALSE(form.Closed());
  const std::string key = "[HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\14.0\\";
  const std::string expected =
      "REGEDIT4\r\n"
      "; Tarnwell " TARNWELL_VERSION_TEXT
      ", settings of Microsoft Outlook 2010 (32-bit) for other PCs\r\n"
      "; Folder paths are as typed here: they were not checked, and must exist on the PC that "
      "imports this file.\r\n"
      "; Machine-wide values (HKEY_LOCAL_MACHINE) are left out.\r\n"
      "; To import: reg import <this file>, then restart Outlook\r\n\r\n" +
      key + "Outlook]\r\n" +
      "\"ForcePSTPath\"=\"D:\\\\Mail\\\\\"\r\n"
      "\"ForceOSTPath\"=\"E:\\\\Not\\\\Here\\\\\"\r\n"
      "\"DisableBGSave\"=dword:00000001\r\n"
      "\"DisablePST\"=dword:00000000\r\n\r\n" +
      key + "Outlook\\Options]\r\n" +
      "\"DisablePOP3\"=dword:00000000\r\n"
      "\"DisableIMAP\"=dword:00000000\r\n"
      "\"DisableExchange\"=dword:00000000\r\n"
      "\"DisableHTTP\"=dword:00000000\r\n"
      "\"DisableOtherTypes\"=dword:00000000\r\n\r\n" +
      key + "Outlook\\Security]\r\n" +
      "\"OutlookSecureTempFolder\"=\"C:\\\\Temp\\\\OLK1\\\\\"\r\n"
      "\"OutlookSecureOldTempFolder\"=\"C:\\\\Temp\\\\OLK1\\\\\"\r\n"
      "\"Level1Remove\"=\"exe;url;" +
      moved +
      "\"\r\n"
      "\"EnableDEP\"=dword:00000000\r\n\r\n" +
      key + "Outlook\\Preferences]\r\n" + "\"MinToTray\"=dword:00000000\r\n\r\n" + key +
      "Outlook\\Options\\Mail]\r\n" +
      "\"ReadAsPlain\"=dword:00000001\r\n"
      "\"SaveAllMIMENotJustHeaders\"=dword:00000000\r\n\r\n" +
      key + "Common\\General]\r\n" + "\"AcbControl\"=dword:00000000\r\n\r\n";
  EXPECT_EQ(expected, files.Contents("C:\\Out\\s.reg").value_or("(none)"));
}

TEST_F(SettingsFile, ExportCancelledOrUnwritableSaysSoAndWritesNothing) {
  Install();
  ExpectExportDialog(std::nullopt);
  window.OnEvent(miExportSettings, Event::Click);
  EXPECT_EQ(1u, journal.Entries().size());

  files.RefuseWritesBelow("C:\\Out");
  ExpectExportDialog("C:\\Out\\s.reg");
  dialogs.Expect(MessageKind::Error, "The settings could not be written to C:\\Out\\s.reg.");
  window.OnEvent(miExportSettings, Event::Click);
  EXPECT_FALSE(files.Contents("C:\\Out\\s.reg"));
}

}  // namespace
}  // namespace tarnwell

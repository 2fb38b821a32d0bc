// The system menu's file commands after a real start-up on an in-memory machine: the export
// for other PCs, and the restore of a backup or an export.
#include "settings/settings_file.h"

#include <gmock/gmock.h>

#include "settings/backup.h"
#include "support/main_window_harness.h"
#include "version.h"

namespace tarnwell {
namespace {

using namespace tform1;
using testing::HasSubstr;
using testing::StartsWith;

constexpr const char* kFilter = "Registry Files (*.reg)|*.reg";
constexpr const char* kBackups = "C:\\Users\\Tester\\AppData\\Local\\Tarnwell\\Backups\\";
constexpr const char* kExchange = "Software\\Microsoft\\Exchange\\Client\\Options";
constexpr const char* kRestored =
    "The settings were restored. Tarnwell will now close; restart Outlook for the changes to "
    "take effect.";
const std::string kOffice = "Software\\Microsoft\\Office\\14.0\\";
const std::string kUserOutlook = "[HKEY_CURRENT_USER\\" + kOffice + "Outlook]\r\n";
const std::string kMachine = "[HKEY_LOCAL_MACHINE\\" + std::string(kExchange) + "]\r\n";

class SettingsFile : public testing::Test, protected MainWindowHarness {
 protected:
  // Outlook 2010 with a few settings, and folders that exist here.
  void SetUp() override {
    SeedNativeOutlook(registry, "14").String("Bitness", "x86");
    registry.Key(Root::CurrentUser, kOffice + "Outlook")
        .String("ForcePSTPath", "D:\\Mail\\")
        .Dword("DisableBGSave", 1);
    registry.Key(Root::CurrentUser, kOffice + "Outlook\\Security")
        .String("OutlookSecureTempFolder", "C:\\Temp\\OLK1\\")
        .String("Level1Remove", "exe;url");
    for (const char* folder : {"D:\\Mail\\", "C:\\Temp\\OLK1\\", "C:\\Out\\"}) {
      files.AddFolder(folder);
    }
    Create();
  }

  // The restore picks `name` in the backups folder, holding `body` as REGEDIT4 (unless
  // empty); the question counts `values` (none asked for 0), answered `answer`.
  std::string Pick(const std::string& body, int values, Answer answer = Answer::Yes,
                   const std::string& name = "mine.reg") {
    const std::string path = kBackups + name;
    if (!body.empty()) {
      files.MakeFolders(kBackups);
      files.WriteWholeFile(path, "REGEDIT4\r\n\r\n" + body);
    }
    dialogs.ExpectOpenFile({"Restore settings from a backup", "", ".reg", kFilter, kBackups}, path);
    if (values > 0) {
      dialogs.Expect(MessageKind::Confirmation,
                     "Restore " + std::to_string(values) + " values from " + name +
                         "? Outlook must be restarted afterwards.",
                     answer);
    }
    return path;
  }
};

// Every per-user value as the controls stand, folders as typed and unchecked, the allow list
// composed as the save would, nothing machine-wide, nothing written to the registry; a cancel
// or a refused file writes nothing.
TEST_F(SettingsFile, ExportWritesEveryPerUserValueOfTheWindowAndLeavesTheRegistry) {
  form.Type(edOSTPath, "E:\\Not\\Here\\");
  form.SetChecked(cbReadAsPlain, true);
  form.SetChecked(cbDumpster, true);
  form.Select(lbBlocked, 0);
  window.OnEvent(btnAddOne, Event::Click);
  journal.Clear();
  const auto expect_dialog = [&](std::optional<std::string> chosen) {
    dialogs.ExpectSaveFile(
        {"Export settings for other PCs", "Tarnwell-settings-14.reg", ".reg", kFilter, ""},
        std::move(chosen));
  };
  expect_dialog("C:\\Out\\s.reg");
  dialogs.Expect(MessageKind::Information, "The settings were exported to C:\\Out\\s.reg.");
  window.OnEvent(miExportSettings, Event::Click);
  EXPECT_THAT(journal.Entries(), testing::Not(testing::Contains(StartsWith("set "))));
  const std::string text = files.Contents("C:\\Out\\s.reg").value_or("");
  EXPECT_THAT(text, StartsWith("REGEDIT4\r\n; Tarnwell " TARNWELL_VERSION_TEXT
                               ", settings of Microsoft Outlook 2010 (32-bit) for other PCs\r\n"));
  const auto key = [](const char* path) {
    return "\r\n[HKEY_CURRENT_USER\\" + kOffice + path + "]\r\n";
  };
  const auto dword = [](const char* name, int on) {
    return "\"" + std::string(name) + "\"=dword:0000000" + std::to_string(on) + "\r\n";
  };
  const auto sz = [](const char* name, const char* value) {
    return "\"" + std::string(name) + "\"=\"" + value + "\"\r\n";
  };
  const char* temp = "C:\\\\Temp\\\\OLK1\\\\";
  EXPECT_EQ(key("Outlook") + sz("ForcePSTPath", "D:\\\\Mail\\\\") +
                sz("ForceOSTPath", "E:\\\\Not\\\\Here\\\\") + dword("DisableBGSave", 1) +
                dword("DisablePST", 0) + key("Outlook\\Options") + dword("DisablePOP3", 0) +
                dword("DisableIMAP", 0) + dword("DisableExchange", 0) + dword("DisableHTTP", 0) +
                dword("DisableOtherTypes", 0) + key("Outlook\\Security") +
                sz("OutlookSecureTempFolder", temp) + sz("OutlookSecureOldTempFolder", temp) +
                sz("Level1Remove", "exe;url;ade") + dword("EnableDEP", 0) +
                key("Outlook\\Preferences") + dword("MinToTray", 0) +
                key("Outlook\\Options\\Mail") + dword("ReadAsPlain", 1) +
                dword("SaveAllMIMENotJustHeaders", 0) + key("Common\\General") +
                dword("AcbControl", 1) + "\r\n",
            text.substr(std::min(text.find("\r\n\r\n[") + 2, text.size())));

  expect_dialog(std::nullopt);
  files.RefuseWritesBelow("C:\\Out");
  expect_dialog("C:\\Out\\t.reg");
  dialogs.Expect(MessageKind::Error, "The settings could not be written to C:\\Out\\t.reg.");
  journal.Clear();
  window.OnEvent(miExportSettings, Event::Click);
  window.OnEvent(miExportSettings, Event::Click);
  EXPECT_EQ(3u, journal.Entries().size());
  EXPECT_FALSE(form.Closed());
}

// Refusals before any question, at the line of the first fault: a file the reader refuses,
// a key or a value a save does not write.
TEST_F(SettingsFile, RestoreRefusesAFileWithAnythingASaveDoesNotWrite) {
  for (const auto& [body, said] :
       {std::pair<std::string, std::string>{
            kUserOutlook + "\"DisablePST\"=dword:1\r\n\"DisableBGSave\"=dword:xyz\r\n",
            "line 5: a dword without its hex number."},
        {kUserOutlook + "\"DisablePST\"=-\r\n[HKEY_CURRENT_USER\\" + kOffice + "Word]\r\n",
         "line 5: Tarnwell does not write the key HKEY_CURRENT_USER\\" + kOffice + "Word."},
        {kMachine + "\"DumpsterAlwaysOn\"=dword:1\r\n" + kUserOutlook + "\"ForcePSTPathX\"=-\r\n",
         "line 6: Tarnwell does not write the value \"ForcePSTPathX\" in that key."}}) {
    dialogs.Expect(MessageKind::Error, Pick(body, 0) + " was not restored: " + said);
    window.OnEvent(miRestoreBackup, Event::Click);
    EXPECT_EQ(2u, journal.Entries().size()) << body;  // the dialog and the error only
    journal.Clear();
  }
  EXPECT_EQ(std::vector<std::string>{"mine.reg"}, files.FileNames(kBackups));
  EXPECT_FALSE(form.Closed());
}

// Every line counts, deletions too; the current values are backed up first; a deletion of
// a missing value or key makes nothing.
TEST_F(SettingsFile, RestoreBacksUpThenSetsAndDeletesEveryValueAndCloses) {
  registry.Key(Root::LocalMachine, kExchange).Dword("DumpsterAlwaysOn", 0);
  Pick(kUserOutlook + "\"ForcePSTPath\"=\"E:\\\\\"\r\n\"disablebgsave\"=-\r\n" + kMachine +
           "\"DumpsterAlwaysOn\"=dword:00000001\r\n[HKEY_CURRENT_USER\\" + kOffice +
           "Common\\Internet]\r\n\"OfficeCacheLocation\"=-\r\n",
       4, Answer::Yes, "a b.reg");
  dialogs.Expect(MessageKind::Information, kRestored);
  window.OnEvent(miRestoreBackup, Event::Click);
  const std::string outlook = "HKCU\\" + kOffice + "Outlook";
  EXPECT_THAT(
      journal.Entries(),
      testing::ElementsAre(StartsWith("open file: "), StartsWith("confirmation: "),
                           "set " + outlook + " ForcePSTPath REG_SZ \"E:\\\"",
                           "delete value " + outlook + " disablebgsave",
                           "set HKLM\\" + std::string(kExchange) + " DumpsterAlwaysOn REG_DWORD 1",
                           StartsWith("information: ")));
  EXPECT_FALSE(registry.HasKey(Root::CurrentUser, kOffice + "Common\\Internet"));
  EXPECT_TRUE(form.Closed());
  const auto backups = files.FileNames(kBackups);  // the file picked, then the backup
  ASSERT_EQ(2u, backups.size());
  EXPECT_THAT(files.Contents(kBackups + backups[1]).value_or(""),
              testing::AllOf(HasSubstr("\"DisableBGSave\"=dword:00000001"),
                             HasSubstr("\"DumpsterAlwaysOn\"=dword:00000000")));
}

// A No to either question writes nothing and keeps the window; the backup's question comes
// for a refused folder and for a value that cannot be read; machine-wide values are skipped
// for a user.
TEST_F(SettingsFile, RestoreSkipsMachineValuesForAUserAndStopsAtANo) {
  elevation.elevated = false;
  const std::string body = kMachine + "\"DumpsterAlwaysOn\"=dword:1\r\n" + kUserOutlook +
                           "\"DisablePST\"=dword:00000001\r\n";
  Pick(body, 2, Answer::No);
  window.OnEvent(miRestoreBackup, Event::Click);
  files.RefuseWritesBelow(kBackups);
  for (const Answer answer : {Answer::No, Answer::Yes}) {
    if (answer == Answer::Yes) {
      files.RefuseWritesBelow("Z:\\");
      registry.FailOn(MemoryRegistry::Op::Query, Root::CurrentUser, kOffice + "Outlook",
                      kAccessDenied, "DisablePST");
    }
    Pick(body, 2);
    dialogs.Expect(MessageKind::ConfirmationDefaultNo,
                   "Tarnwell could not write a backup of the current settings to "
                   "C:\\Users\\Tester\\AppData\\Local\\Tarnwell\\Backups. Save without a backup?",
                   answer);
    if (answer == Answer::Yes) {
      dialogs.Expect(MessageKind::Information,
                     std::string(kRestored) +
                         " 1 machine-wide value was skipped: Tarnwell does "
                         "not run as an administrator.");
    }
    window.OnEvent(miRestoreBackup, Event::Click);
    EXPECT_EQ(answer == Answer::Yes, form.Closed());
    EXPECT_EQ(answer == Answer::Yes,
              registry.Value(Root::CurrentUser, kOffice + "Outlook", "DisablePST").has_value());
  }
  EXPECT_THAT(journal.Entries(), testing::Not(testing::Contains(HasSubstr("HKLM"))));
  EXPECT_EQ(std::vector<std::string>{"mine.reg"}, files.FileNames(kBackups));
}

// The save asks the same question when its backup cannot be written: a No writes nothing
// and keeps the window open.
TEST_F(SettingsFile, SaveStopsAtANoToSavingWithoutABackup) {
  files.RefuseWritesBelow(kBackups);
  form.Type(edPSTPath, "C:\\Out\\");
  dialogs.Expect(MessageKind::Confirmation, "Are you sure", Answer::Yes)
      .Expect(MessageKind::ConfirmationDefaultNo, "Tarnwell could not write a backup", Answer::No);
  window.OnEvent(btnSave, Event::Click);
  EXPECT_FALSE(form.Closed());
  EXPECT_THAT(journal.Entries(), testing::Not(testing::Contains(StartsWith("set "))));
}

}  // namespace
}  // namespace tarnwell

// The system menu's file commands after a real start-up on an in-memory
// machine: the export for other PCs, and the restore of a backup or an export.
#include "settings/settings_file.h"

#include <gmock/gmock.h>
#include <random>

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
    "The settings were restored. Tarnwell will now close; restart Outlook for "
    "the changes to "
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

  // The restore's dialog opens in the backups folder, where `body` is written
  // as REGEDIT4 (unless empty) and picked; the question counts `values`,
  // answered `answer`.
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

// Every per-user value as the controls stand, folders as typed and unchecked,
// the allow list composed as the save would, nothing machine-wide, nothing
// written here; a cancel or a refused file writes nothing.
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
  const std::string key = "[HKEY_CURRENT_USER\\" + kOffice;
  EXPECT_EQ("REGEDIT4\r\n; Tarnwell " TARNWELL_VERSION_TEXT
            ", settings of Microsoft Outlook 2010 (32-bit) for other PCs\r\n"
            "; Folder paths are as typed here: they were not checked, and must exist "
            "on the PC that "
            "imports this file.\r\n; Machine-wide values (HKEY_LOCAL_MACHINE) are "
            "left out.\r\n"
            "; To import: reg import <this file>, then restart Outlook\r\n\r\n" +
                key + "Outlook]\r\n\"ForcePSTPath\"=\"D:\\\\Mail\\\\\"\r\n" +
                "\"ForceOSTPath\"=\"E:\\\\Not\\\\Here\\\\\"\r\n\"DisableBGSave\"="
                "dword:00000001\r\n" +
                "\"DisablePST\"=dword:00000000\r\n\r\n" + key + "Outlook\\Options]\r\n" +
                "\"DisablePOP3\"=dword:00000000\r\n\"DisableIMAP\"=dword:"
                "00000000\r\n" +
                "\"DisableExchange\"=dword:00000000\r\n\"DisableHTTP\"=dword:"
                "00000000\r\n" +
                "\"DisableOtherTypes\"=dword:00000000\r\n\r\n" + key + "Outlook\\Security]\r\n" +
                "\"OutlookSecureTempFolder\"=\"C:\\\\Temp\\\\OLK1\\\\\"\r\n" +
                "\"OutlookSecureOldTempFolder\"=\"C:\\\\Temp\\\\OLK1\\\\\"\r\n" +
                "\"Level1Remove\"=\"exe;url;ade\"\r\n\"EnableDEP\"=dword:"
                "00000000\r\n\r\n" +
                key + "Outlook\\Preferences]\r\n\"MinToTray\"=dword:00000000\r\n\r\n" + key +
                "Outlook\\Options\\Mail]\r\n\"ReadAsPlain\"=dword:00000001\r\n" +
                "\"SaveAllMIMENotJustHeaders\"=dword:00000000\r\n\r\n" + key +
                "Common\\General]\r\n\"AcbControl\"=dword:00000001\r\n\r\n",
            files.Contents("C:\\Out\\s.reg").value_or("(none)"));

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

// A file with anything a save does not write is refused at its line, before any
// question.
TEST_F(SettingsFile, RestoreRefusesAFileWithAnythingASaveDoesNotWrite) {
  for (const auto& [body, said] :
       {std::pair<std::string, std::string>{
            kUserOutlook + "\"DisablePST\"=dword:1\r\n\"DisableBGSave\"=dword:xyz\r\n",
            "line 5: a dword without its hex number."},
        {kUserOutlook + "\"DisablePST\"=-\r\n[HKEY_CURRENT_USER\\" + kOffice + "Word]\r\n",
         "line 5: Tarnwell does not write the key HKEY_CURRENT_USER\\" + kOffice + "Word."},
        {kMachine + "\"DumpsterAlwaysOn\"=dword:1\r\n" + kUserOutlook + "\"ForcePSTPathX\"=-\r\n",
         "line 6: Tarnwell does not write the value \"ForcePSTPathX\" in that "
         "key."}}) {
    dialogs.Expect(MessageKind::Error, Pick(body, 0) + " was not restored: " + said);
    window.OnEvent(miRestoreBackup, Event::Click);
    EXPECT_EQ(2u, journal.Entries().size()) << body;  // the dialog and the error only
    journal.Clear();
  }
  EXPECT_EQ(std::vector<std::string>{"mine.reg"}, files.FileNames(kBackups));
  EXPECT_FALSE(form.Closed());
}

// Every line counts, deletions too; the current values are backed up first; a
// deletion of a missing value or key makes nothing; machine-wide values are
// skipped for a user; a No to either question writes nothing and keeps the
// window.
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

TEST_F(SettingsFile, RestoreSkipsMachineValuesForAUserAndStopsAtANo) {
  elevation.elevated = false;
  const std::string body = kMachine + "\"DumpsterAlwaysOn\"=dword:1\r\n" + kUserOutlook +
                           "\"DisablePST\"=dword:00000001\r\n";
  const std::string no_backup =
      "Tarnwell could not write a backup of the current settings to "
      "C:\\Users\\Tester\\AppData\\Local\\Tarnwell\\Backups. Save without a "
      "backup?";
  Pick(body, 2, Answer::No);
  window.OnEvent(miRestoreBackup, Event::Click);
  files.RefuseWritesBelow(kBackups);
  for (const Answer answer : {Answer::No, Answer::Yes}) {
    Pick(body, 2);
    dialogs.Expect(MessageKind::ConfirmationDefaultNo, no_backup, answer);
    if (answer == Answer::Yes) {
      dialogs.Expect(MessageKind::Information,
                     std::string(kRestored) +
                         " 1 machine-wide value was skipped: Tarnwell does not run as an "
                         "administrator.");
    }
    window.OnEvent(miRestoreBackup, Event::Click);
    EXPECT_EQ(answer == Answer::Yes, form.Closed());
    EXPECT_EQ(answer == Answer::Yes,
              registry.Value(Root::CurrentUser, kOffice + "Outlook", "DisablePST").has_value());
  }
  EXPECT_THAT(journal.Entries(), testing::Not(testing::Contains(HasSubstr("HKLM"))));
}

// For random states of the values a save writes (any type, size and bytes, or
// none): a backup, then other values, then a restore of that backup gives back
// every value exactly.
TEST_F(SettingsFile, RestoreOfABackupGivesBackEveryValueExactly) {
  std::mt19937 random(20131207);
  const Services services{registry, dialogs, elevation, files, processes, shell, clock};
  const std::vector<SavedKey> table = SaveMayWrite(state.OutlookVersion, true);
  std::vector<std::pair<const SavedKey*, std::string_view>> values;
  for (const SavedKey& key : table) {
    for (std::string_view name : key.names) {
      values.emplace_back(&key, name);
    }
  }
  const auto scramble = [&] {
    constexpr std::uint8_t kBytes[] = {0, '"', '\\', 'a', ' ', ';', '=', 0x80, 0xE9, 0xFF};
    constexpr std::uint32_t kTypes[] = {0, 1, 1, 2, 3, 4, 4, 7, 11};
    for (const auto& [key, name] : values) {
      std::vector<std::uint8_t> data(random() % 3 == 0 ? 4 : random() % 24);
      for (std::uint8_t& byte : data) {
        byte = kBytes[random() % std::size(kBytes)];
      }
      const auto type = static_cast<ValueType>(kTypes[random() % std::size(kTypes)]);
      random() % 4 == 0 ? (void)registry.Key(key->root, key->path).Remove(name)
                        : (void)registry.Key(key->root, key->path).Data(name, type, data);
    }
    const SavedKey& gone = table[random() % table.size()];
    registry.DeleteTree(gone.root, gone.path);
  };
  const auto snapshot = [&] {
    std::vector<std::string> seen;
    for (const auto& [key, name] : values) {
      const auto value = registry.Value(key->root, key->path, name);
      seen.push_back(!value ? "none"
                            : std::to_string(static_cast<int>(value->type)) + ":" +
                                  std::string(value->data.begin(), value->data.end()));
    }
    return seen;
  };
  for (int round = 0; round < 100; ++round) {
    clock.now.minute = round / 60;  // each round's backups named apart from the others'
    clock.now.second = round % 60;
    scramble();
    const std::vector<std::string> before = snapshot();
    ASSERT_TRUE(WriteBackup(services, state.OutlookVersion));
    const std::string backup = files.FileNames(kBackups).back();  // the newest
    scramble();
    Pick("", static_cast<int>(values.size()), Answer::Yes, backup);
    dialogs.Expect(MessageKind::Information, kRestored);
    ASSERT_TRUE(RestoreSettings(services, state));
    ASSERT_EQ(before, snapshot()) << "round " << round;
  }
}

}  // namespace
}  // namespace tarnwell

// The system menu's file commands after a real start-up on an in-memory machine: the export
// for other PCs, and the restore of a backup or an export.
#include "settings/settings_file.h"

#include <gmock/gmock.h>
#include <random>
#include <string>
#include <vector>

#include "settings/backup.h"
#include "settings/save.h"
#include "support/main_window_harness.h"
#include "version.h"

namespace tarnwell {
namespace {

using namespace tform1;

constexpr const char* kFilter = "Registry Files (*.reg)|*.reg";
constexpr const char* kBackups = "C:\\Users\\Tester\\AppData\\Local\\Tarnwell\\Backups\\";
constexpr const char* kOffice = "Software\\Microsoft\\Office\\14.0\\";
constexpr const char* kExchange = "Software\\Microsoft\\Exchange\\Client\\Options";
constexpr const char* kRestored =
    "The settings were restored. Tarnwell will now close; restart Outlook for the changes to "
    "take effect.";

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

  // The file the user picks in the restore's dialog, which opens in the backups folder.
  void ExpectRestoreDialog(std::optional<std::string> chosen) {
    FileDialogOptions options;
    options.title = "Restore settings from a backup";
    options.default_extension = ".reg";
    options.filter = kFilter;
    options.initial_folder = kBackups;
    dialogs.ExpectOpenFile(options, std::move(chosen));
  }

  // Writes `body` as a REGEDIT4 file in the backups folder and picks it.
  std::string PickFile(const std::string& body, const std::string& name = "mine.reg") {
    files.MakeFolders(kBackups);
    const std::string path = kBackups + name;
    files.WriteWholeFile(path, "REGEDIT4\r\n\r\n" + body);
    ExpectRestoreDialog(path);
    return path;
  }

  std::vector<std::string> Backups() { return files.FileNames(kBackups); }
};

const std::string kUserOutlook = "[HKEY_CURRENT_USER\\" + std::string(kOffice) + "Outlook]\r\n";
const std::string kMachine = "[HKEY_LOCAL_MACHINE\\" + std::string(kExchange) + "]\r\n";

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

// A syntax error names its line; a key or a value a save does not write names the line
// that holds it. Nothing is asked, backed up or written.
TEST_F(SettingsFile, RestoreRefusesAFileWithAnythingASaveDoesNotWrite) {
  Install();
  const struct {
    std::string body;
    std::string said;
  } cases[] = {
      {kUserOutlook + "\"DisablePST\"=dword:1\r\n\"DisableBGSave\"=dword:xyz\r\n",
       "mine.reg was not restored: line 5: a dword without its hex number."},
      {kUserOutlook + "\"DisablePST\"=-\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\"
                      "14.0\\Word]\r\n\"DisablePST\"=-\r\n",
       "mine.reg was not restored: line 5: Tarnwell does not write the key "
       "HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\14.0\\Word."},
      {kMachine + "\"DumpsterAlwaysOn\"=dword:1\r\n" + kUserOutlook +
           "\"ForcePSTPath\"=\"D:\\\\\"\r\n\"ForcePSTPathX\"=\"D:\\\\\"\r\n",
       "mine.reg was not restored: line 7: Tarnwell does not write the value \"ForcePSTPathX\" "
       "in that key."},
      {"[HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\15.0\\Outlook]\r\n\"DisablePST\"=-\r\n",
       "mine.reg was not restored: line 3: Tarnwell does not write the key "
       "HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\15.0\\Outlook."},
  };
  for (const auto& each : cases) {
    dialogs.Expect(MessageKind::Error, PickFile(each.body) + each.said.substr(8));
    window.OnEvent(miRestoreBackup, Event::Click);
    EXPECT_EQ(2u, journal.Entries().size()) << each.body;  // the dialog and the error only
    journal.Clear();
  }
  EXPECT_EQ(std::vector<std::string>{"mine.reg"}, Backups());
  EXPECT_FALSE(form.Closed());
}

// Every line counts, deletions too; the current values are backed up before any is set or
// deleted; a deletion of a missing value or key makes nothing; the window then closes.
TEST_F(SettingsFile, RestoreBacksUpThenSetsAndDeletesEveryValueAndCloses) {
  Install();
  registry.Key(Root::LocalMachine, kExchange).Dword("DumpsterAlwaysOn", 0);
  const std::string path =
      PickFile(kUserOutlook + "\"ForcePSTPath\"=\"E:\\\\\"\r\n\"disablebgsave\"=-\r\n" + kMachine +
                   "\"DumpsterAlwaysOn\"=dword:00000001\r\n"
                   "[HKEY_CURRENT_USER\\" +
                   std::string(kOffice) + "Common\\Internet]\r\n\"OfficeCacheLocation\"=-\r\n",
               "a b.reg");
  dialogs.Expect(MessageKind::Confirmation,
                 "Restore 4 values from a b.reg? Outlook must be restarted afterwards.",
                 Answer::Yes);
  dialogs.Expect(MessageKind::Information, kRestored);
  window.OnEvent(miRestoreBackup, Event::Click);

  const std::string office = "HKCU\\" + std::string(kOffice) + "Outlook";
  EXPECT_THAT(
      journal.Entries(),
      testing::ElementsAre(testing::StartsWith("open file: "),
                           testing::StartsWith("confirmation: Restore 4"),
                           "set " + office + " ForcePSTPath REG_SZ \"E:\\\"",
                           "delete value " + office + " disablebgsave",
                           "set HKLM\\" + std::string(kExchange) + " DumpsterAlwaysOn REG_DWORD 1",
                           testing::StartsWith("information: ")));
  EXPECT_FALSE(registry.HasKey(Root::CurrentUser, std::string(kOffice) + "Common\\Internet"));
  EXPECT_TRUE(form.Closed());
  const auto backups = Backups();
  ASSERT_EQ(2u, backups.size());
  const std::string backup =
      files.Contents(kBackups + (kBackups + backups[0] == path ? backups[1] : backups[0]))
          .value_or("");
  EXPECT_THAT(backup, testing::HasSubstr("\"ForcePSTPath\"=\"D:\\\\Mail\\\\\"\r\n"
                                         "\"ForceOSTPath\"=-\r\n\"DisableBGSave\"=dword:00000001"));
  EXPECT_THAT(backup, testing::HasSubstr("\"DumpsterAlwaysOn\"=dword:00000000"));
}

// Without administrator rights the machine-wide values are passed over and counted; a No to
// the question, or to going on without a backup, writes nothing and keeps the window.
TEST_F(SettingsFile, RestoreSkipsMachineValuesForAUserAndStopsAtANo) {
  Install();
  elevation.elevated = false;
  const std::string one = kMachine + "\"DumpsterAlwaysOn\"=dword:1\r\n" + kUserOutlook +
                          "\"DisablePST\"=dword:00000001\r\n";
  PickFile(one);
  dialogs.Expect(MessageKind::Confirmation,
                 "Restore 2 values from mine.reg? Outlook must be restarted afterwards.",
                 Answer::No);
  window.OnEvent(miRestoreBackup, Event::Click);

  files.RefuseWritesBelow(kBackups);
  ExpectRestoreDialog(kBackups + std::string("mine.reg"));
  dialogs.Expect(MessageKind::Confirmation,
                 "Restore 2 values from mine.reg? Outlook must be restarted afterwards.",
                 Answer::Yes);
  dialogs.Expect(MessageKind::ConfirmationDefaultNo,
                 "Tarnwell could not write a backup of the current settings to "
                 "C:\\Users\\Tester\\AppData\\Local\\Tarnwell\\Backups. Save without a backup?",
                 Answer::No);
  window.OnEvent(miRestoreBackup, Event::Click);
  EXPECT_THAT(journal.Entries(), testing::Not(testing::Contains(testing::HasSubstr("set "))));
  EXPECT_FALSE(form.Closed());

  ExpectRestoreDialog(kBackups + std::string("mine.reg"));
  dialogs.Expect(MessageKind::Confirmation,
                 "Restore 2 values from mine.reg? Outlook must be restarted afterwards.",
                 Answer::Yes);
  dialogs.Expect(MessageKind::ConfirmationDefaultNo,
                 "Tarnwell could not write a backup of the current settings to "
                 "C:\\Users\\Tester\\AppData\\Local\\Tarnwell\\Backups. Save without a backup?",
                 Answer::Yes);
  dialogs.Expect(MessageKind::Information,
                 std::string(kRestored) +
                     " 1 machine-wide value was skipped: Tarnwell does not run as an "
                     "administrator.");
  window.OnEvent(miRestoreBackup, Event::Click);
  EXPECT_THAT(journal.Entries(), testing::Not(testing::Contains(testing::HasSubstr("HKLM"))));
  EXPECT_EQ(1u, registry.Value(Root::CurrentUser, std::string(kOffice) + "Outlook", "DisablePST")
                    .value_or(RegValue{})
                    .Number());
  EXPECT_TRUE(form.Closed());
}

// A value of any type, size and bytes, or none, as one of the save's values might be.
std::optional<RegValue> RandomValue(std::mt19937& random) {
  constexpr std::uint32_t kTypes[] = {0, 1, 1, 2, 3, 4, 4, 7, 11};
  constexpr std::uint8_t kBytes[] = {0, '"', '\\', 'a', 'Z', ' ', ';', '=', 0x80, 0xE9, 0xFF, 1};
  if (random() % 4 == 0) {
    return std::nullopt;
  }
  RegValue value{static_cast<ValueType>(kTypes[random() % std::size(kTypes)]), {}};
  const std::size_t size = value.type == ValueType::Dword && random() % 3 != 0 ? 4 : random() % 24;
  for (std::size_t i = 0; i < size; ++i) {
    value.data.push_back(kBytes[random() % std::size(kBytes)]);
  }
  if (value.IsText() && random() % 2 == 0) {
    value.data.push_back(0);
  }
  return value;
}

// For random states of the values a save writes: a backup, then changes by direct writes or
// by a save of changed controls, then a restore of that backup gives back every value.
TEST_F(SettingsFile, RestoreOfABackupGivesBackEveryValueExactly) {
  Install();
  std::mt19937 random(20131207);
  const Services services{registry, dialogs, elevation, files, processes, shell, clock};
  const std::vector<SavedKey> table = SaveMayWrite(state.OutlookVersion, true);
  std::size_t count = 0;
  for (const SavedKey& key : table) {
    count += key.names.size();
  }
  const auto set_randomly = [&] {
    for (const SavedKey& key : table) {
      if (random() % 8 == 0) {
        registry.DeleteTree(key.root, key.path);
        continue;
      }
      for (std::string_view name : key.names) {
        const auto value = RandomValue(random);
        value ? (void)registry.Key(key.root, key.path).Data(name, value->type, value->data)
              : (void)registry.Key(key.root, key.path).Remove(name);
      }
    }
  };
  files.MakeFolders(kBackups);
  for (int round = 0; round < 100; ++round) {
    clock.now.minute = round / 60;  // each round's backups named apart from the others'
    clock.now.second = round % 60;
    set_randomly();
    std::vector<std::optional<RegValue>> before;
    for (const SavedKey& key : table) {
      for (std::string_view name : key.names) {
        before.push_back(registry.Value(key.root, key.path, name));
      }
    }
    const auto known = Backups();
    ASSERT_TRUE(WriteBackup(services, state.OutlookVersion));
    std::string backup;
    for (const std::string& name : Backups()) {
      if (std::find(known.begin(), known.end(), name) == known.end()) {
        backup = name;
      }
    }
    if (round % 2 == 0) {
      set_randomly();
    } else {
      form.Type(edPSTPath, "C:\\Out\\");
      form.SetChecked(cbReadAsPlain, random() % 2 == 0);
      form.SetChecked(cbDumpster, random() % 2 == 0);
      dialogs.Expect(MessageKind::Confirmation, "Are you sure you want to make these changes?",
                     Answer::Yes);
      dialogs.Expect(MessageKind::Information,
                     "You must restart Outlook for these changes to take effect.");
      ASSERT_TRUE(SaveSettings(form, services, state));
    }
    ExpectRestoreDialog(kBackups + backup);
    dialogs.Expect(MessageKind::Confirmation,
                   "Restore " + std::to_string(count) + " values from " + backup +
                       "? Outlook must be restarted afterwards.",
                   Answer::Yes);
    dialogs.Expect(MessageKind::Information, kRestored);
    ASSERT_TRUE(RestoreSettings(services, state)) << round;
    std::size_t at = 0;
    for (const SavedKey& key : table) {
      for (std::string_view name : key.names) {
        const auto now = registry.Value(key.root, key.path, name);
        const auto& was = before[at++];
        EXPECT_EQ(was ? DescribeValue(*was) : "(none)", now ? DescribeValue(*now) : "(none)")
            << round << " " << key.path << " " << name;
        EXPECT_TRUE(was && now ? was->type == now->type && was->data == now->data : !was && !now)
            << round << " " << key.path << " " << name;
      }
    }
  }
}

}  // namespace
}  // namespace tarnwell

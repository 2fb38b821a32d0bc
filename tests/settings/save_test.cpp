// Save, backup, export and restore after a real start-up, checked on the journal in order.
#include <algorithm>
#include <gmock/gmock.h>

#include "settings/backup.h"
#include "support/main_window_harness.h"
#include "support/versions.h"
#include "version.h"

namespace tarnwell {
namespace {

using namespace tform1;
using testing::Contains;
using testing::HasSubstr;
using testing::Not;
using testing::StartsWith;
using Lines = std::vector<std::string>;

constexpr const char* kBackups = "C:\\Users\\Tester\\AppData\\Local\\Tarnwell\\Backups\\";
constexpr const char* kExchange = "Software\\Microsoft\\Exchange\\Client\\Options";
const std::string kOffice = OfficeKeyRoot(OfficeVersion::V14);
const std::string kPst = "warning: The default .pst path";

// Outlook 2010 whose keys all exist, with folders that exist.
void Install(MainWindowHarness& h) {
  SeedNativeOutlook(h.registry, "14").String("Bitness", "x86");
  const auto key = [&h](const char* below) {
    return h.registry.Key(Root::CurrentUser, kOffice + below);
  };
  key("Outlook").String("ForcePSTPath", "D:\\Mail\\").Dword("DisableBGSave", 1);
  key("Outlook\\Options").String("DefaultPath", "D:\\S\\");
  key("Outlook\\Preferences");
  key("Outlook\\Options\\Mail").Dword("ReadAsPlain", 1);
  key("Common\\General");
  key("Common\\Internet").String("OfficeCacheLocation", "D:\\Cache\\");
  key("Outlook\\Security")
      .String("OutlookSecureTempFolder", "C:\\Temp\\OLK1\\")
      .String("Level1Remove", "exe;url");
  for (const char* folder : {"D:\\Mail\\", "D:\\S\\", "C:\\Temp\\OLK1\\", "D:\\Off",
                             "C:\\Temp\\OLK2", "D:\\Cache\\", "C:\\Out\\"}) {
    h.files.AddFolder(folder);
  }
  h.files.AddFile("D:\\notes.txt");
}

// A confirmed save, showing the messages among `lines` (each "kind: start of the text").
void Save(MainWindowHarness& h, const Lines& lines = {}) {
  h.dialogs.Expect(MessageKind::Confirmation, "Are you sure", Answer::Yes);
  for (const std::string& line : lines) {
    if (line.starts_with("warning: ") || line.starts_with("information: ")) {
      const bool warning = line.starts_with('w');
      h.dialogs.Expect(warning ? MessageKind::Warning : MessageKind::Information,
                       line.substr(warning ? 9 : 13));
    }
  }
  h.dialogs.Expect(MessageKind::Information, "You must restart Outlook");
  h.window.OnEvent(btnSave, Event::Click);
}

class OnOutlook2010 : public testing::Test, protected MainWindowHarness {
 protected:
  void SetUp() override { Install(*this); }
};

// Edits -> the save's journal: each line starts an entry, in this order, or none ("!").
TEST(Save, EditsGiveTheirWritesAndMessagesInOrder) {
  const struct {
    Lines lines;
    void (*edit)(MainWindowHarness&);
  } rows[] = {
      // clang-format off
      {{"Outlook DisablePST REG_DWORD 0", "Outlook\\Preferences MinToTray REG_DWORD 0",
        "!Outlook\\Options "}, [](auto& h) {  // a key that does not open is passed over,
         h.form.Type(edSaveAttPath, "D:\\Nowhere\\");  // with its folder's warning
         h.form.SetChecked(cbPOP3, true);
         h.registry.FailOn(MemoryRegistry::Op::Create, Root::CurrentUser,
                           kOffice + "Outlook\\Options", kAccessDenied); }},
      {{}, [](auto& h) { h.form.Type(edSaveAttPath, ""); }},  // an empty field is not checked
      {{"warning: The default path for opening", "Common\\Internet OfficeCacheLocation REG_SZ"},
       [](auto& h) { h.files.Remove("C:\\Temp\\OLK1\\"); }},  // loaded folders checked again
      {{kPst, "Outlook DisableBGSave REG_DWORD 1", "!Outlook ForcePSTPath REG_SZ \"\""},
       [](auto& h) { h.form.Type(edPSTPath, ""); }},
      {{"information: The default folder for .ost", "Outlook ForceOSTPath REG_SZ \"D:\\Off\"",
        "Outlook DisableBGSave REG_DWORD 1"}, [](auto& h) { h.form.Type(edOSTPath, "D:\\Off"); }},
      {{"Outlook\\Security OutlookSecureTempFolder REG_SZ \"C:\\Temp\\OLK2\"",
        "Outlook\\Security OutlookSecureOldTempFolder REG_SZ \"C:\\Temp\\OLK1\\\""},
       [](auto& h) { h.form.Type(edAttachmentPath, "C:\\Temp\\OLK2"); }},
      {{kPst, "Outlook DisablePST REG_DWORD 0", "warning: The default path for saving",
        "Outlook\\Options DisablePOP3 REG_DWORD 0", "warning: The default path for the Office",
        "Outlook\\Preferences MinToTray REG_DWORD 0"}, [](auto& h) {  // files are no folders
         h.form.Type(edPSTPath, "D:\\notes.txt");
         h.form.Type(edSaveAttPath, "D:\\notes.txt");
         h.form.SetText(edDocCachePath, "D:\\notes.txt"); }},
      {{"create Outlook\\Preferences", "Outlook\\Preferences MinToTray REG_DWORD 0",
        "Common\\General AcbControl REG_DWORD 1", "Outlook\\Security EnableDEP REG_DWORD 0"},
       [](auto& h) { h.registry.DeleteTree(Root::CurrentUser, kOffice + "Outlook\\Preferences"); }},
      {{"Outlook\\Security Level1Remove REG_SZ \"exe;url;ade\""}, [](auto& h) {
         h.form.Select(lbBlocked, 0);
         h.window.OnEvent(btnAddOne, Event::Click); }},
      // clang-format on
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(&row - rows);
    MainWindowHarness h;
    Install(h);
    h.Create();
    row.edit(h);
    Save(h, row.lines);
    EXPECT_TRUE(h.form.Closed());
    const Lines journal = h.journal.Entries();
    auto at = journal.begin();
    for (const std::string& line : row.lines) {
      std::string start = line.substr(line.starts_with('!'));
      if (!start.starts_with("warning: ") && !start.starts_with("information: ")) {
        const bool create = start.starts_with("create ");
        start = (create ? "create HKCU\\" : "set HKCU\\") + kOffice + start.substr(create ? 7 : 0);
      }
      const auto starts = [&start](const std::string& entry) { return entry.starts_with(start); };
      if (line.starts_with('!')) {
        EXPECT_THAT(journal, Not(Contains(testing::Truly(starts)))) << line;
      } else {
        at = std::find_if(at, journal.end(), starts);
        ASSERT_NE(journal.end(), at) << line << " missing or out of order";
      }
    }
  }
}

// Recover Deleted Items: written last, by an administrator only, when the box left a stored 0 or 1.
TEST(Save, RecoverDeletedItemsNeedsAChangeAndAnAdministrator) {
  const std::string set = "set HKLM\\" + std::string(kExchange) + " DumpsterAlwaysOn REG_DWORD ";
  const std::string warning = "warning: Tarnwell has not been run as an Administrator";
  const struct {
    std::optional<std::uint32_t> stored;
    bool ticked, elevated;
    std::string written;
  } rows[] = {// clang-format off
      {std::nullopt, true, true, set + "1"}, {std::nullopt, true, false, warning},
      {0u, false, false, ""}, {1u, true, false, ""}, {1u, false, true, set + "0"},
      {1u, false, false, warning}, {2u, true, true, ""}, {2u, false, true, ""}};
  // clang-format on
  for (const auto& row : rows) {
    SCOPED_TRACE(&row - rows);
    MainWindowHarness h;
    SeedNativeOutlook(h.registry, "12");
    if (row.stored) {
      h.registry.Key(Root::LocalMachine, kExchange).Dword("DumpsterAlwaysOn", *row.stored);
    }
    h.elevation.elevated = row.elevated;
    h.Create();
    h.form.SetChecked(cbDumpster, row.ticked);
    Save(h, {row.written});
    const Lines journal(h.journal.Entries().begin(), h.journal.Entries().end() - 1);
    if (!row.written.empty()) {
      EXPECT_THAT(journal.back(), StartsWith(row.written));
    }
    EXPECT_THAT(journal, Contains(testing::AnyOf(HasSubstr("DumpsterAlwaysOn"), HasSubstr("Admin")))
                             .Times(row.written.empty() ? 0 : 1));
  }
}

// A No to the question, or to saving without a backup, writes nothing and keeps the window.
TEST(Save, ANoWritesNothingAndKeepsTheWindow) {
  for (const bool unsaved_backup : {false, true}) {
    MainWindowHarness h;
    Install(h);
    h.Create();
    h.form.SetChecked(cbPOP3, true);
    if (unsaved_backup)
      h.files.RefuseWritesBelow(kBackups);
    h.dialogs.Expect(MessageKind::Confirmation, "Are you sure",
                     unsaved_backup ? Answer::Yes : Answer::No);
    if (unsaved_backup) {
      h.dialogs.Expect(MessageKind::ConfirmationDefaultNo, "Tarnwell could not write a backup",
                       Answer::No);
    }
    h.window.OnEvent(btnSave, Event::Click);
    EXPECT_EQ(unsaved_backup ? 2u : 1u, h.journal.Entries().size());  // the questions only
    EXPECT_FALSE(h.form.Closed());
  }
}

// Only the user's ticking warns, not the load's and not an unticking.
TEST_F(OnOutlook2010, TickWarningsComeOnlyFromTheUserAndOnlyForATick) {
  registry.Key(Root::CurrentUser, kOffice + "Outlook\\Options\\Mail")
      .Dword("SaveAllMIMENotJustHeaders", 1);
  Create();
  ASSERT_TRUE(form.Checked(cbSaveMIME));
  for (const auto& [box, text] :
       {std::pair{cbSaveMIME, ""},
        {cbSaveMIME, "Enabling this feature will significantly"},
        {cbDumpster, "Enabling this feature will allow you to recover"}}) {
    form.SetChecked(box, *text);
    if (*text)
      dialogs.Expect(MessageKind::Warning, text);
    window.OnEvent(box, Event::Click);
  }
}

// Named by local time, numbered in its second; the twenty newest kept, numbers compared by value.
TEST(Backup, NamedByTimeAndTheTwentyNewestKept) {
  MainWindowHarness h;
  h.files.MakeFolders(kBackups);
  const std::string second = "Tarnwell-backup-2012-05-06-070809";
  Lines kept = {"notes.txt", "Tarnwell-backup-2001-01-01-000000.reg.bak",
                "Tarnwell-backup-2001-01-01-0000.reg", "Tarnwell-backup-2001-01-01-000000-02.reg",
                "Tarnwell-backup-2001-01-01-000000-1000000.reg"};
  for (const auto& name : kept) {
    h.files.WriteWholeFile(kBackups + name, "mine");
  }
  h.files.WriteWholeFile(kBackups + std::string("Tarnwell-backup-2011-12-31-235959.reg"), "");
  for (int number = 2; number <= 23; ++number) {
    const std::string name = second + (number == 2 ? "" : "-" + std::to_string(number)) + ".reg";
    h.files.WriteWholeFile(kBackups + name, "");
    if (number > 6)
      kept.push_back(name);
  }
  for (const char* suffix : {"", "-2", "-3"}) {
    ASSERT_TRUE(WriteBackup(h.Svc(), Installed("14")));
    kept.push_back("Tarnwell-backup-2013-04-07-090503" + std::string(suffix) + ".reg");
  }
  EXPECT_THAT(h.files.FileNames(kBackups), testing::UnorderedElementsAreArray(kept));
}

constexpr const char* kFilter = "Registry Files (*.reg)|*.reg";
const std::string kUserOutlook = "[HKEY_CURRENT_USER\\" + kOffice + "Outlook]\r\n";
const std::string kMachine = "[HKEY_LOCAL_MACHINE\\" + std::string(kExchange) + "]\r\n";

// The export: per-user values as shown, folders unchecked; a cancel or refused file writes nothing.
TEST_F(OnOutlook2010, ExportWritesThePerUserValuesOfTheWindowAndLeavesTheRegistry) {
  Create();
  form.Type(edOSTPath, "E:\\Not\\Here\\");
  form.SetChecked(cbReadAsPlain, false);
  form.SetChecked(cbDumpster, true);
  form.Select(lbBlocked, 0);
  window.OnEvent(btnAddOne, Event::Click);
  files.RefuseWritesBelow("C:\\Out\\T");
  for (const std::string chosen : {"C:\\Out\\s.reg", "", "C:\\Out\\T\\t.reg"}) {  // "": cancel
    dialogs.ExpectSaveFile(
        {"Export settings for other PCs", "Tarnwell-settings-14.reg", ".reg", kFilter, ""},
        chosen.empty() ? std::nullopt : std::optional(chosen));
    if (!chosen.empty()) {
      dialogs.Expect(chosen.ends_with("s.reg") ? MessageKind::Information : MessageKind::Error,
                     (chosen.ends_with("s.reg") ? "The settings were exported to "
                                                : "The settings could not be written to ") +
                         chosen + ".");
    }
    EXPECT_EQ(chosen.empty() ? 1u : 2u, Press(miExportSettings).size());  // no registry write
  }
  EXPECT_FALSE(form.Closed());
  const std::string text = files.Contents("C:\\Out\\s.reg").value_or("");
  EXPECT_THAT(text, StartsWith("REGEDIT4\r\n; Tarnwell " TARNWELL_VERSION_TEXT
                               ", settings of Microsoft Outlook 2010 (32-bit) for other PCs\r\n"));
  for (const char* line :
       {"\"ForceOSTPath\"=\"E:\\\\Not\\\\Here\\\\\"", "\"DefaultPath\"=\"D:\\\\S\\\\\"",
        "\"OutlookSecureOldTempFolder\"=\"C:\\\\Temp\\\\OLK1\\\\\"",
        "\"Level1Remove\"=\"exe;url;ade\"", "\"ReadAsPlain\"=dword:00000000"}) {
    EXPECT_THAT(text, HasSubstr(line));
  }
  EXPECT_THAT(text, Not(HasSubstr("[HKEY_LOCAL_MACHINE")));
}

// Scripts the restore's pick of a backup holding `body` and, for `values` > 0, its question.
std::string Pick(MainWindowHarness& h, const std::string& body, int values,
                 Answer answer = Answer::Yes, const std::string& name = "mine.reg") {
  const std::string path = kBackups + name;
  if (!body.empty()) {
    h.files.MakeFolders(kBackups);
    h.files.WriteWholeFile(path, "REGEDIT4\r\n\r\n" + body);
  }
  h.dialogs.ExpectOpenFile({"Restore settings from a backup", "", ".reg", kFilter, kBackups}, path);
  if (values > 0) {
    h.dialogs.Expect(MessageKind::Confirmation,
                     "Restore " + std::to_string(values) + " values from " + name + "?", answer);
  }
  return path;
}

// Refused before any question, at the first fault: a broken file, a key or value no save writes.
TEST_F(OnOutlook2010, RestoreRefusesAFileWithAnythingASaveDoesNotWrite) {
  Create();
  for (const auto& [body, said] :
       {std::pair<std::string, std::string>{"", "the file could not be read."},  // none there
        {kUserOutlook + "\"DisablePST\"=dword:1\r\n\"DisableBGSave\"=dword:xyz\r\n",
         "line 5: a dword without its hex number."},
        {kUserOutlook + "\"DisablePST\"=-\r\n[HKEY_CURRENT_USER\\" + kOffice + "Word]\r\n",
         "line 5: Tarnwell does not write the key HKEY_CURRENT_USER\\" + kOffice + "Word."},
        {kMachine + "\"DumpsterAlwaysOn\"=dword:1\r\n" + kUserOutlook + "\"ForcePSTPathX\"=-\r\n",
         "line 6: Tarnwell does not write the value \"ForcePSTPathX\" in that key."}}) {
    dialogs.Expect(MessageKind::Error, Pick(*this, body, 0) + " was not restored: " + said);
    EXPECT_EQ(2u, Press(miRestoreBackup).size()) << body;  // the dialog and the error only
  }
  EXPECT_EQ(Lines{"mine.reg"}, files.FileNames(kBackups));
  EXPECT_FALSE(form.Closed());
}

// Every line counts, deletions too, after a backup; deleting a missing value or key makes nothing.
TEST_F(OnOutlook2010, RestoreBacksUpThenSetsAndDeletesEveryValueAndCloses) {
  registry.Key(Root::LocalMachine, kExchange).Dword("DumpsterAlwaysOn", 0);
  registry.DeleteTree(Root::CurrentUser, kOffice + "Common\\Internet");
  Create();
  Pick(*this,
       kUserOutlook + "\"ForcePSTPath\"=\"E:\\\\\"\r\n\"disablebgsave\"=-\r\n" + kMachine +
           "\"DumpsterAlwaysOn\"=dword:00000001\r\n[HKEY_CURRENT_USER\\" + kOffice +
           "Common\\Internet]\r\n\"OfficeCacheLocation\"=-\r\n",
       4, Answer::Yes, "a b.reg");
  dialogs.Expect(MessageKind::Information, "The settings were restored. Tarnwell will now close");
  const std::string outlook = "HKCU\\" + kOffice + "Outlook";
  EXPECT_THAT(
      Press(miRestoreBackup),
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

// Either No writes nothing; a refused folder or unreadable value asks to go on without a backup.
TEST_F(OnOutlook2010, RestoreSkipsMachineValuesForAUserAndStopsAtANo) {
  elevation.elevated = false;
  Create();
  const std::string body = kMachine + "\"DumpsterAlwaysOn\"=dword:1\r\n" + kUserOutlook +
                           "\"DisablePST\"=dword:00000001\r\n";
  Pick(*this, body, 2, Answer::No);
  window.OnEvent(miRestoreBackup, Event::Click);
  files.RefuseWritesBelow(kBackups);
  for (const Answer answer : {Answer::No, Answer::Yes}) {
    if (answer == Answer::Yes) {
      files.RefuseWritesBelow("Z:\\");
      registry.FailOn(MemoryRegistry::Op::Query, Root::CurrentUser, kOffice + "Outlook",
                      kAccessDenied, "DisablePST");
    }
    Pick(*this, body, 2);
    dialogs.Expect(MessageKind::ConfirmationDefaultNo,
                   "Tarnwell could not write a backup of the current settings to "
                   "C:\\Users\\Tester\\AppData\\Local\\Tarnwell\\Backups. Save without a backup?",
                   answer);
    if (answer == Answer::Yes) {
      dialogs.Expect(MessageKind::Information,
                     "The settings were restored. Tarnwell will now close; restart Outlook for "
                     "the changes to take effect. 1 machine-wide value was skipped: Tarnwell "
                     "does not run as an administrator.");
    }
    window.OnEvent(miRestoreBackup, Event::Click);
    EXPECT_EQ(answer == Answer::Yes, form.Closed());
    EXPECT_EQ(answer == Answer::Yes,
              registry.Value(Root::CurrentUser, kOffice + "Outlook", "DisablePST").has_value());
  }
  EXPECT_THAT(journal.Entries(), Not(Contains(HasSubstr("HKLM"))));
  EXPECT_EQ(Lines{"mine.reg"}, files.FileNames(kBackups));
}

}  // namespace
}  // namespace tarnwell

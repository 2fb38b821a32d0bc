// The backup written before a save: what it holds, read back as a registry file, how it is
// named and rotated, and the question when it cannot be written.
#include "settings/backup.h"

#include <algorithm>
#include <gmock/gmock.h>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/main_window_harness.h"
#include "support/versions.h"
#include "version.h"

namespace tarnwell {
namespace {

using namespace tform1;
using Lines = std::vector<std::string>;

constexpr const char* kConfirm = "Are you sure you want to make these changes?";
constexpr const char* kRestart = "You must restart Outlook for these changes to take effect.";
constexpr const char* kFolder = "C:\\Users\\Tester\\AppData\\Local\\Tarnwell\\Backups\\";
constexpr const char* kNoBackup =
    "Tarnwell could not write a backup of the current settings to "
    "C:\\Users\\Tester\\AppData\\Local\\Tarnwell\\Backups. Save without a backup?";
constexpr const char* kExchangeOptions = "Software\\Microsoft\\Exchange\\Client\\Options";

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<RegFileKey> Parsed(const MemoryFileSystem& files, const std::string& path) {
  const std::optional<std::string> bytes = files.Contents(path);
  if (!bytes) {
    ADD_FAILURE() << "no file " << path;
    return {};
  }
  auto read = ReadRegFile({reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()});
  if (auto* error = std::get_if<RegFileError>(&read)) {
    ADD_FAILURE() << "line " << error->line << ": " << error->text;
    return {};
  }
  return std::get<std::vector<RegFileKey>>(read);
}

RegValue Typed(ValueType type, std::vector<std::uint8_t> data) {
  return {type, std::move(data)};
}

// Every field changed, so that the save writes every value it can: the backup must hold
// exactly those, each as it stood, whatever its type, a missing one as a deletion.
TEST(BackupBeforeSave, HoldsEveryValueTheSaveWritesAsItStood) {
  for (const char* major : {"12", "14", "15", "16"}) {
    for (const bool elevated : {false, true}) {
      SCOPED_TRACE(std::string(major) + (elevated ? " elevated" : " not elevated"));
      MainWindowHarness h;
      SeedNativeOutlook(h.registry, major).String("Bitness", "x86");
      const std::string office = OfficeKeyRoot(Version(major));
      const std::map<std::string, RegValue> stood = {
          {"ForcePSTPath", Typed(ValueType::String, StringData("D:\\Mail\\"))},
          {"DisablePST", Typed(ValueType::Binary, {1, 0, 0, 0, 9})},
          {"ReadAsPlain", Typed(ValueType::String, StringData("1"))},
          {"AcbControl", Typed(ValueType::Dword, DwordData(0))},
          {"Level1Remove", Typed(ValueType::ExpandString, StringData("url;exe;%TEMP%"))},
          {"EnableDEP", Typed(ValueType::Dword, DwordData(7))},
          {"DumpsterAlwaysOn", Typed(ValueType::Dword, DwordData(0))},
      };
      const auto seed = [&](Root root, const std::string& path, const char* name) {
        h.registry.Key(root, path).Data(name, stood.at(name).type, stood.at(name).data);
      };
      seed(Root::CurrentUser, office + "Outlook", "ForcePSTPath");
      seed(Root::CurrentUser, office + "Outlook", "DisablePST");
      seed(Root::CurrentUser, office + "Outlook\\Options\\Mail", "ReadAsPlain");
      seed(Root::CurrentUser, office + "Common\\General", "AcbControl");
      seed(Root::CurrentUser, office + "Outlook\\Security", "Level1Remove");
      seed(Root::CurrentUser, office + "Outlook\\Security", "EnableDEP");
      seed(Root::LocalMachine, kExchangeOptions, "DumpsterAlwaysOn");
      h.files.AddFolder("D:\\Mail\\").AddFolder("D:\\New");
      h.elevation.elevated = elevated;
      h.Create();
      for (ControlId field : {edPSTPath, edOSTPath, edSaveAttPath, edAttachmentPath}) {
        h.form.Type(field, "D:\\New");
      }
      h.form.SetText(edDocCachePath, "D:\\New");
      h.form.SetChecked(cbDumpster, true);
      const std::size_t before = h.registry.Writes().size();
      h.dialogs.Expect(MessageKind::Confirmation, kConfirm, Answer::Yes);
      h.dialogs.Expect(MessageKind::Information,
                       "The default folder for .ost files has been changed.  You must set this "
                       "before creating an Exchange profile in Outlook.  If the profile is "
                       "already created, you must change the default path in the Offline "
                       "Folder File Settings in the Exchange account setup in Outlook.");
      if (!elevated) {
        h.dialogs.Expect(MessageKind::Warning,
                         "Tarnwell has not been run as an Administrator on this system. Enabling "
                         "recovery of deleted items in Exchange cannot be saved.");
      }
      h.dialogs.Expect(MessageKind::Information, kRestart);
      h.window.OnEvent(btnSave, Event::Click);

      std::set<std::string> written;
      for (auto w = h.registry.Writes().begin() + before; w != h.registry.Writes().end(); ++w) {
        if (w->kind == MemoryRegistry::Write::Kind::Set) {
          written.insert(std::string(RootName(w->root)) + "\\" + w->path + " " + w->name);
        }
      }
      const Lines names = h.files.FileNames(kFolder);
      ASSERT_EQ(Lines{"Tarnwell-backup-2013-04-07-090503.reg"}, names);
      std::set<std::string> backed_up;
      for (const RegFileKey& key : Parsed(h.files, kFolder + names[0])) {
        for (const RegFileValue& value : key.values) {
          backed_up.insert(std::string(RootName(key.root)) + "\\" + key.path + " " + value.name);
          const auto seeded = stood.find(value.name);
          const std::optional<RegValue> expected =
              seeded == stood.end() ? std::nullopt : std::optional(seeded->second);
          EXPECT_EQ((RegFileValue{value.name, expected}), value) << value.name;
        }
      }
      EXPECT_EQ(written, backed_up);
      EXPECT_THAT(
          *h.files.Contents(kFolder + names[0]),
          testing::StartsWith("REGEDIT4\r\n; Tarnwell " TARNWELL_VERSION_TEXT ", settings of " +
                              h.state.OutlookVersion.DisplayText() +
                              " before the save of 2013-04-07 09:05:03\r\n"));
    }
  }
}

class BackupFiles : public testing::Test, protected MainWindowHarness {
 protected:
  bool Write() {
    return WriteBackup(Services{registry, dialogs, elevation, files, processes, shell, clock},
                       Installed("14"));
  }
};

TEST_F(BackupFiles, NamedAfterTheLocalTimeNumberedWithinTheSecond) {
  clock.now = {{2026, 1, 2}, 3, 4, 5};
  ASSERT_TRUE(Write());
  ASSERT_TRUE(Write());
  ASSERT_TRUE(Write());
  EXPECT_EQ(
      (Lines{"Tarnwell-backup-2026-01-02-030405-2.reg", "Tarnwell-backup-2026-01-02-030405-3.reg",
             "Tarnwell-backup-2026-01-02-030405.reg"}),
      Sorted(files.FileNames(kFolder)));
  EXPECT_TRUE(files.FolderExists(kFolder));
}

// Newest by the time in the name, then by the number within its second, counted as a
// number; files of any other name are left as they are.
TEST_F(BackupFiles, KeepsTheTwentyNewestAndNothingElseIsTouched) {
  files.MakeFolders(kFolder);
  const std::string second = "Tarnwell-backup-2012-05-06-070809";
  Lines seeded = {second + ".reg", "Tarnwell-backup-2011-12-31-235959.reg"};
  for (int number = 2; number <= 24; ++number) {
    seeded.push_back(second + "-" + std::to_string(number) + ".reg");
  }
  const Lines others = {"notes.txt",
                        "Tarnwell-backup-2001-01-01-000000.reg.bak",
                        "Tarnwell-backup-2001-01-01-000000-1.reg",
                        "Tarnwell-backup-2001-01-01-0000.reg",
                        "Tarnwell-backup-old.reg",
                        "Tarnwell-backup-2001-01-01-000000-02.reg"};
  for (const auto& name : seeded) {
    files.WriteWholeFile(kFolder + name, "REGEDIT4\r\n");
  }
  for (const auto& name : others) {
    files.WriteWholeFile(kFolder + name, "mine");
  }
  ASSERT_TRUE(Write());

  Lines kept = others;
  kept.push_back("Tarnwell-backup-2013-04-07-090503.reg");
  for (int number = 6; number <= 24; ++number) {
    kept.push_back(second + "-" + std::to_string(number) + ".reg");
  }
  EXPECT_EQ(Sorted(kept), Sorted(files.FileNames(kFolder)));
  for (const auto& name : others) {
    EXPECT_EQ("mine", files.Contents(kFolder + name));
  }
}

// The question comes after the confirmation, before any write; No keeps the window open
// with nothing written, Yes saves as ever.
TEST(BackupBeforeSave, WithoutABackupAsksAndNoWritesNothing) {
  for (const bool folder_refused : {true, false}) {
    for (const Answer answer : {Answer::No, Answer::Yes}) {
      SCOPED_TRACE(std::string(folder_refused ? "folder refused" : "value unreadable") +
                   (answer == Answer::Yes ? ", Yes" : ", No"));
      MainWindowHarness h;
      SeedNativeOutlook(h.registry, "14").String("Bitness", "x86");
      h.Create();
      h.form.SetChecked(cbPOP3, true);
      if (folder_refused) {
        h.files.RefuseWritesBelow("C:\\Users\\Tester\\AppData\\Local\\Tarnwell");
      } else {
        h.registry.FailOn(MemoryRegistry::Op::Query, Root::CurrentUser,
                          "Software\\Microsoft\\Office\\14.0\\Outlook", kAccessDenied,
                          "DisablePST");
      }
      h.dialogs.Expect(MessageKind::Confirmation, kConfirm, Answer::Yes);
      h.dialogs.Expect(MessageKind::ConfirmationDefaultNo, kNoBackup, answer);
      if (answer == Answer::Yes) {
        h.dialogs.Expect(MessageKind::Information, kRestart);
      }
      h.window.OnEvent(btnSave, Event::Click);

      const Lines& journal = h.journal.Entries();
      ASSERT_GE(journal.size(), 2u);
      EXPECT_EQ(ScriptedDialogs::Line(MessageKind::Confirmation, kConfirm, Answer::Yes),
                journal[0]);
      EXPECT_EQ(ScriptedDialogs::Line(MessageKind::ConfirmationDefaultNo, kNoBackup, answer),
                journal[1]);
      EXPECT_EQ(answer == Answer::Yes, h.form.Closed());
      EXPECT_EQ(answer == Answer::No, journal.size() == 2u);
      EXPECT_EQ(answer == Answer::Yes,
                h.registry
                    .Value(Root::CurrentUser, "Software\\Microsoft\\Office\\14.0\\Outlook\\Options",
                           "DisablePOP3")
                    .has_value());
      EXPECT_THAT(h.files.FileNames(kFolder), testing::IsEmpty());
    }
  }
}

}  // namespace
}  // namespace tarnwell

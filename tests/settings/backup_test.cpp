// The backup written before a save: what it holds, read back as a registry file, how it is
// named and rotated, and the question when it cannot be written.
#include "settings/backup.h"

#include <algorithm>
#include <gmock/gmock.h>
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

Lines Sorted(Lines names) {
  std::sort(names.begin(), names.end());
  return names;
}

struct Seeded {
  Root root;
  const char* below;  // the Office key's, or the machine's Exchange options
  const char* name;
  RegValue value;
};

// Every field changed, so that the save writes every value it can: the backup must hold
// exactly those, each as it stood, whatever its type, a missing one as a deletion.
TEST(BackupBeforeSave, HoldsEveryValueTheSaveWritesAsItStood) {
  const std::vector<Seeded> stood = {
      {Root::CurrentUser, "Outlook", "ForcePSTPath", {ValueType::String, StringData("D:\\")}},
      {Root::CurrentUser, "Outlook", "DisablePST", {ValueType::Binary, {1, 0, 0, 0, 9}}},
      {Root::CurrentUser,
       "Outlook\\Options\\Mail",
       "ReadAsPlain",
       {ValueType::String, StringData("1")}},
      {Root::CurrentUser,
       "Outlook\\Security",
       "Level1Remove",
       {ValueType::ExpandString, StringData("url;exe;%TEMP%")}},
      {Root::CurrentUser, "Outlook\\Security", "EnableDEP", {ValueType::Dword, DwordData(7)}},
      {Root::LocalMachine, "", "DumpsterAlwaysOn", {ValueType::Dword, DwordData(0)}},
  };
  for (const char* major : {"12", "14", "15", "16"}) {
    for (const bool elevated : {false, true}) {
      SCOPED_TRACE(std::string(major) + (elevated ? " elevated" : " not elevated"));
      MainWindowHarness h;
      SeedNativeOutlook(h.registry, major).String("Bitness", "x86");
      for (const Seeded& s : stood) {
        const std::string path = s.root == Root::LocalMachine
                                     ? "Software\\Microsoft\\Exchange\\Client\\Options"
                                     : OfficeKeyRoot(Version(major)) + s.below;
        h.registry.Key(s.root, path).Data(s.name, s.value.type, s.value.data);
      }
      h.files.AddFolder("D:\\New");
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
      const std::string file = kFolder + std::string("Tarnwell-backup-2013-04-07-090503.reg");
      ASSERT_EQ(Lines{file.substr(file.rfind('\\') + 1)}, h.files.FileNames(kFolder));
      const std::string bytes = h.files.Contents(file).value_or("");
      EXPECT_THAT(bytes, testing::StartsWith("REGEDIT4\r\n; Tarnwell " TARNWELL_VERSION_TEXT
                                             ", settings of " +
                                             h.state.OutlookVersion.DisplayText() +
                                             " before the save of 2013-04-07 09:05:03\r\n"));
      auto read = ReadRegFile({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
      ASSERT_TRUE(std::holds_alternative<std::vector<RegFileKey>>(read));
      std::set<std::string> backed_up;
      for (const RegFileKey& key : std::get<std::vector<RegFileKey>>(read)) {
        for (const RegFileValue& value : key.values) {
          backed_up.insert(std::string(RootName(key.root)) + "\\" + key.path + " " + value.name);
          const auto seeded = std::find_if(stood.begin(), stood.end(),
                                           [&](const Seeded& s) { return s.name == value.name; });
          EXPECT_EQ(
              (RegFileValue{value.name,
                            seeded == stood.end() ? std::nullopt : std::optional(seeded->value)}),
              value)
              << value.name;
        }
      }
      EXPECT_EQ(written, backed_up);
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
  for (int save = 0; save < 3; ++save) {
    ASSERT_TRUE(Write());
  }
  const std::string name = "Tarnwell-backup-2026-01-02-030405";
  EXPECT_EQ((Lines{name + "-2.reg", name + "-3.reg", name + ".reg"}),
            Sorted(files.FileNames(kFolder)));
}

// Newest by the time in the name, then by the number within its second, counted as a
// number; files of any other name are left as they are.
TEST_F(BackupFiles, KeepsTheTwentyNewestAndNothingElseIsTouched) {
  files.MakeFolders(kFolder);
  const std::string second = "Tarnwell-backup-2012-05-06-070809";
  Lines kept = {"notes.txt", "Tarnwell-backup-2001-01-01-000000.reg.bak",
                "Tarnwell-backup-2001-01-01-000000-1.reg", "Tarnwell-backup-2001-01-01-0000.reg",
                "Tarnwell-backup-2001-01-01-000000-02.reg"};
  for (const auto& name : kept) {
    files.WriteWholeFile(kFolder + name, "mine");
  }
  for (const auto& name : {second + ".reg", std::string("Tarnwell-backup-2011-12-31-235959.reg")}) {
    files.WriteWholeFile(kFolder + name, "");
  }
  for (int number = 2; number <= 24; ++number) {
    const std::string name = second + "-" + std::to_string(number) + ".reg";
    files.WriteWholeFile(kFolder + name, "");
    if (number >= 6) {
      kept.push_back(name);
    }
  }
  ASSERT_TRUE(Write());
  kept.push_back("Tarnwell-backup-2013-04-07-090503.reg");
  EXPECT_EQ(Sorted(kept), Sorted(files.FileNames(kFolder)));
  EXPECT_EQ("mine", files.Contents(kFolder + kept[0]));
}

// The question comes after the confirmation, before any write; No keeps the window open
// with nothing written, Yes saves as a save with a backup does.
TEST(BackupBeforeSave, WithoutABackupAsksAndNoWritesNothing) {
  const std::string question =
      "Tarnwell could not write a backup of the current settings to "
      "C:\\Users\\Tester\\AppData\\Local\\Tarnwell\\Backups. Save without a backup?";
  enum class Fault { None, FolderRefused, ValueUnreadable };
  const auto save = [&](Fault fault, Answer answer) {
    MainWindowHarness h;
    SeedNativeOutlook(h.registry, "14");
    h.Create();
    if (fault == Fault::FolderRefused) {
      h.files.RefuseWritesBelow("C:\\Users\\Tester\\AppData\\Local\\Tarnwell");
    } else if (fault == Fault::ValueUnreadable) {
      h.registry.FailOn(MemoryRegistry::Op::Query, Root::CurrentUser,
                        "Software\\Microsoft\\Office\\14.0\\Outlook", kAccessDenied, "DisablePST");
    }
    h.dialogs.Expect(MessageKind::Confirmation, kConfirm, Answer::Yes);
    if (fault != Fault::None) {
      h.dialogs.Expect(MessageKind::ConfirmationDefaultNo, question, answer);
    }
    if (answer == Answer::Yes) {
      h.dialogs.Expect(MessageKind::Information, kRestart);
    }
    h.window.OnEvent(btnSave, Event::Click);
    EXPECT_EQ(answer == Answer::Yes, h.form.Closed());
    EXPECT_EQ(fault == Fault::None, !h.files.FileNames(kFolder).empty());
    return h.journal.Entries();
  };
  const Lines saved = save(Fault::None, Answer::Yes);
  ASSERT_FALSE(saved.empty());
  for (const Fault fault : {Fault::FolderRefused, Fault::ValueUnreadable}) {
    SCOPED_TRACE(fault == Fault::FolderRefused ? "folder refused" : "value unreadable");
    const auto asked = [&](Answer answer) {
      return ScriptedDialogs::Line(MessageKind::ConfirmationDefaultNo, question, answer);
    };
    EXPECT_EQ((Lines{saved.front(), asked(Answer::No)}), save(fault, Answer::No));
    Lines expected = saved;
    expected.insert(expected.begin() + 1, asked(Answer::Yes));
    EXPECT_EQ(expected, save(fault, Answer::Yes));
  }
}

}  // namespace
}  // namespace tarnwell

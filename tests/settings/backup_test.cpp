// The backup written before a save: what it holds, how it is named and rotated.
// (The question when it cannot be written: with the restore's tests.)
#include "settings/backup.h"

#include <algorithm>
#include <gmock/gmock.h>
#include <map>
#include <set>

#include "support/main_window_harness.h"
#include "support/versions.h"
#include "version.h"

namespace tarnwell {
namespace {

using namespace tform1;
using Lines = std::vector<std::string>;

constexpr const char* kFolder = "C:\\Users\\Tester\\AppData\\Local\\Tarnwell\\Backups\\";

// Every field changed, so that the save writes every value it can: the backup
// holds exactly those, each as it stood whatever its type, a missing one as a
// deletion.
TEST(Backup, HoldsEveryValueTheSaveWritesAsItStood) {
  const std::map<std::string, std::pair<const char*, RegValue>> stood = {
      {"DisablePST", {"Outlook", {ValueType::Binary, {1, 0, 0, 0, 9}}}},
      {"ReadAsPlain", {"Outlook\\Options\\Mail", {ValueType::String, StringData("1")}}},
      {"Level1Remove", {"Outlook\\Security", {ValueType::ExpandString, StringData("url;exe;%T%")}}},
      {"EnableDEP", {"Outlook\\Security", {ValueType::Dword, DwordData(7)}}},
      {"DumpsterAlwaysOn", {nullptr, {ValueType::Dword, DwordData(0)}}}};
  for (const char* major : {"12", "15", "16"}) {
    SCOPED_TRACE(major);
    MainWindowHarness h;
    SeedNativeOutlook(h.registry, major).String("Bitness", "x86");
    for (const auto& [name, at] : stood) {
      h.registry
          .Key(at.first ? Root::CurrentUser : Root::LocalMachine,
               at.first ? OfficeKeyRoot(Version(major)) + at.first
                        : "Software\\Microsoft\\Exchange\\Client\\Options")
          .Data(name, at.second.type, at.second.data);
    }
    h.files.AddFolder("D:\\New");
    h.Create();
    for (ControlId field : {edPSTPath, edOSTPath, edSaveAttPath, edAttachmentPath}) {
      h.form.Type(field, "D:\\New");
    }
    h.form.SetText(edDocCachePath, "D:\\New");
    h.form.SetChecked(cbDumpster, true);
    const std::size_t before = h.registry.Writes().size();
    h.dialogs.Expect(MessageKind::Confirmation, "Are you sure you want to make these changes?",
                     Answer::Yes);
    h.dialogs.Expect(MessageKind::Information,
                     "The default folder for .ost files has been changed.  You must set "
                     "this "
                     "before creating an Exchange profile in Outlook.  If the profile is "
                     "already "
                     "created, you must change the default path in the Offline Folder File "
                     "Settings in the Exchange account setup in Outlook.");
    h.dialogs.Expect(MessageKind::Information,
                     "You must restart Outlook for these changes to take effect.");
    h.window.OnEvent(btnSave, Event::Click);

    std::set<std::string> written, backed_up;
    for (auto w = h.registry.Writes().begin() + before; w != h.registry.Writes().end(); ++w) {
      if (w->kind == MemoryRegistry::Write::Kind::Set) {
        written.insert(std::string(RootName(w->root)) + "\\" + w->path + " " + w->name);
      }
    }
    const std::string file = "Tarnwell-backup-2013-04-07-090503.reg";
    ASSERT_EQ(Lines{file}, h.files.FileNames(kFolder));
    const std::string bytes = h.files.Contents(kFolder + file).value_or("");
    EXPECT_THAT(bytes, testing::StartsWith("REGEDIT4\r\n; Tarnwell " TARNWELL_VERSION_TEXT
                                           ", settings of " +
                                           h.state.OutlookVersion.DisplayText() +
                                           " before the save of 2013-04-07 09:05:03\r\n"));
    const auto read =
        ReadRegFile({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    ASSERT_TRUE(std::holds_alternative<std::vector<RegFileKey>>(read));
    for (const RegFileKey& key : std::get<std::vector<RegFileKey>>(read)) {
      for (const RegFileValue& value : key.values) {
        backed_up.insert(std::string(RootName(key.root)) + "\\" + key.path + " " + value.name);
        const auto seeded = stood.find(value.name);
        EXPECT_EQ((RegFileValue{value.name, seeded == stood.end()
                                                ? std::nullopt
                                                : std::optional(seeded->second.second)}),
                  value);
      }
    }
    EXPECT_EQ(written, backed_up);
  }
}

// Named after the local time, numbered within its second; the twenty newest are
// kept, by time and then number (counted as a number); files of other names are
// left alone.
TEST(Backup, NamedByTimeAndTheTwentyNewestKept) {
  MainWindowHarness h;
  h.files.MakeFolders(kFolder);
  const std::string second = "Tarnwell-backup-2012-05-06-070809";
  Lines kept = {"notes.txt", "Tarnwell-backup-2001-01-01-000000.reg.bak",
                "Tarnwell-backup-2001-01-01-0000.reg", "Tarnwell-backup-2001-01-01-000000-02.reg",
                "Tarnwell-backup-2001-01-01-000000-1000000.reg"};
  for (const auto& name : kept) {
    h.files.WriteWholeFile(kFolder + name, "mine");
  }
  h.files.WriteWholeFile(kFolder + std::string("Tarnwell-backup-2011-12-31-235959.reg"), "");
  for (int number = 2; number <= 23; ++number) {
    const std::string name = second + (number == 2 ? "" : "-" + std::to_string(number)) + ".reg";
    h.files.WriteWholeFile(kFolder + name, "");
    number > 6 ? kept.push_back(name) : void();
  }
  for (const char* suffix : {"", "-2", "-3"}) {
    ASSERT_TRUE(WriteBackup(h.Svc(), Installed("14")));
    kept.push_back("Tarnwell-backup-2013-04-07-090503" + std::string(suffix) + ".reg");
  }
  Lines names = h.files.FileNames(kFolder);
  std::sort(kept.begin(), kept.end());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(kept, names);
}

}  // namespace
}  // namespace tarnwell

#include "settings/load.h"

#include <gmock/gmock.h>
#include <string>

#include "fakes/memory_form.h"
#include "support/registry_seed.h"
#include "support/versions.h"
#include "ui/main_layout.h"

namespace tarnwell {
namespace {

using namespace tform1;
using Seed = void (*)(MemoryRegistry&);

std::string Office(std::string_view major, std::string_view below) {
  return OfficeKeyRoot(Version(major)) + std::string(below);
}
MemoryRegistry::KeyRef User(MemoryRegistry& registry, std::string_view major,
                            std::string_view below) {
  return registry.Key(Root::CurrentUser, Office(major, below));
}
MemoryRegistry::KeyRef Exchange(MemoryRegistry& registry) {
  return registry.Key(Root::LocalMachine, "Software\\Microsoft\\Exchange\\Client\\Options");
}

// What one control shows: a field its text, a box "ticked" or not; " off" when disabled.
std::string Shown(const MemoryForm& form, ControlId id) {
  const bool field = MainWindowLayout().Find(id)->name.starts_with("ed");
  return (field              ? form.Text(id)
          : form.Checked(id) ? "ticked"
                             : "") +
         (form.Enabled(id) ? "" : " off");
}

// A security key that refuses full access, and an Outlook key that does not open.
void Refusing(MemoryRegistry& r) {
  User(r, "14", "Outlook\\Security")
      .String("OutlookSecureTempFolder", "C:\\T\\")
      .RefuseAccess(Rights::Full);
  User(r, "14", "Outlook").RefuseAccess(Rights::Read);
}

struct Row {
  const char* name;
  const char* major;
  bool native;  // the 32-bit program's own view, or the 64-bit view
  std::vector<std::pair<ControlId, std::string>> shown;
  LoadedSettings loaded;
  Seed seed;
};

// Stored values -> what the window shows and what the load keeps for later steps.
TEST(Load, StoredValuesGiveTheControlsAndTheKeptValues) {
  const std::string p257 = "D:\\" + std::string(254, 'p'), o256 = "D:\\" + std::string(253, 'o');
  const Seed long_paths = [](MemoryRegistry& r) {
    User(r, "14", "Outlook")
        .String("ForcePSTPath", "D:\\" + std::string(254, 'p'))
        .ExpandString("ForceOSTPath", "D:\\" + std::string(253, 'o'));
    User(r, "14", "Outlook\\Security").String("Level1Remove", std::string(600, 'x'));
  };
  const Seed nothing = [](MemoryRegistry&) {};
  const std::string x600(600, 'x');
  // clang-format off
  const Row rows[] = {
      {"native view: texts of any length", "14", true, {{edPSTPath, p257}, {edOSTPath, o256}},
       {"", "", x600, 0, "", ""}, long_paths},
      {"64-bit view: texts of 256 characters", "14", false, {{edPSTPath, ""}, {edOSTPath, o256}},
       {"", "", x600, 0, "", ""}, long_paths},
      {"install folders of each branch, as they are", "14", false, {},
       {"", "", "", 0, "", "C:\\x64OUTLOOK.EXE"}, [](MemoryRegistry& r) {
         r.Key(Root::LocalMachine, "Software\\Microsoft\\Office\\14.0\\Word\\InstallRoot")
             .String("Path", "C:\\x64"); }},
      {"other types count as missing", "14", true,
       {{edPSTPath, ""}, {cbDisablePST, "ticked"}, {cbDumpster, ""}, {cbEnableDEP, ""}}, {},
       [](MemoryRegistry& r) {
         User(r, "14", "Outlook").Dword("ForcePSTPath", 7).Dword("DisablePST", 1);
         Exchange(r).String("DumpsterAlwaysOn", "1");
         User(r, "14", "Outlook\\Security").Dword("Level1Remove", 3).String("EnableDEP", "1"); }},
      {"only 1 ticks", "12", true, {{cbDumpster, ""}}, {"", "", "", 2, "", ""},
       [](MemoryRegistry& r) { Exchange(r).Dword("DumpsterAlwaysOn", 2); }},
      {"empty previous folder", "14", true, {{btnRevert, " off"}}, {}, [](MemoryRegistry& r) {
         User(r, "14", "Outlook\\Security").String("OutlookSecureOldTempFolder", ""); }},
      {"2000 has the clipboard box", "9", true, {{cbShowClipboard, ""}}, {},
       [](MemoryRegistry& r) { User(r, "9", "Common\\General").Dword("AcbControl", 0); }},
      {"2002 has the clipboard box", "10", true, {{cbShowClipboard, ""}}, {}, nothing},
      {"2003 has none", "11", true, {{cbShowClipboard, " off"}}, {}, nothing},
      {"2007 has no DEP (the box is left) but a cache", "12", true,
       {{cbEnableDEP, "ticked"}, {edDocCachePath, "D:\\C\\"}}, {}, [](MemoryRegistry& r) {
         User(r, "12", "Outlook\\Security").Dword("EnableDEP", 0);
         User(r, "12", "Common\\Internet").String("OfficeCacheLocation", "D:\\C\\"); }},
      {"security key refusing full access, nothing opened before", "14", true,
       {{edAttachmentPath, ""}}, {}, Refusing},
      {"security key refusing full access, read once a key opened", "14", true,
       {{edAttachmentPath, "C:\\T\\"}}, {"C:\\T\\", "", "", 0, "\"C:\\O\\OUTLOOK.EXE\"", ""},
       [](MemoryRegistry& r) {
         r.Key(Root::LocalMachine, NativeMachinePath(r, "Microsoft\\Office\\14.0\\Word\\InstallRoot"))
             .String("Path", "C:\\O\\");
         Refusing(r); }},
  };
  // clang-format on
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    MemoryRegistry registry;
    row.seed(registry);
    MemoryForm form(MainWindowLayout());
    form.SetChecked(cbEnableDEP, true);
    form.SetEnabled(cbEnableDEP, true);  // as detection leaves them for 2010
    form.SetEnabled(edDocCachePath, true);
    LoadedSettings loaded;
    (row.native ? ProcessRegRead32Bit : ProcessRegRead64Bit)(registry, Installed(row.major), form,
                                                             loaded);
    EXPECT_EQ(0u, registry.OpenHandles());
    for (const auto& [id, shown] : row.shown) {
      EXPECT_EQ(shown, Shown(form, id)) << MainWindowLayout().Find(id)->name;
    }
    EXPECT_EQ(row.loaded.OutlookSecureTempFolder, loaded.OutlookSecureTempFolder);
    EXPECT_EQ(row.loaded.OutlookSecureOldTempFolder, loaded.OutlookSecureOldTempFolder);
    EXPECT_EQ(row.loaded.Level1Remove, loaded.Level1Remove);
    EXPECT_EQ(row.loaded.DumpsterAlwaysOn, loaded.DumpsterAlwaysOn);
    EXPECT_EQ(row.loaded.OutlookExePathQuoted, loaded.OutlookExePathQuoted);
    EXPECT_EQ(row.loaded.OutlookExePath, loaded.OutlookExePath);
  }
}

// Only a security key the load made gets the three empty texts; one that exists but does
// not open keeps its values.
TEST(Load, MissingSecurityKeyIsCreatedWithThreeEmptyTexts) {
  for (const bool exists : {false, true}) {
    Journal journal;
    MemoryRegistry registry(MemoryRegistry::Windows::Bits64, &journal);
    User(registry, "14", "Outlook");
    if (exists) {
      User(registry, "14", "Outlook\\Security")
          .String("Level1Remove", "exe")
          .RefuseAccess(Rights::Read);
    }
    MemoryForm form(MainWindowLayout());
    LoadedSettings loaded;
    ProcessRegRead64Bit(registry, Installed("14"), form, loaded);
    const std::string key = "HKCU\\" + Office("14", "Outlook\\Security");
    const std::vector<std::string> made = {"create " + key,
                                           "set " + key + " OutlookSecureTempFolder REG_SZ \"\"",
                                           "set " + key + " OutlookSecureOldTempFolder REG_SZ \"\"",
                                           "set " + key + " Level1Remove REG_SZ \"\""};
    EXPECT_EQ(exists ? std::vector<std::string>{} : made, journal.Entries());
  }
}

}  // namespace
}  // namespace tarnwell

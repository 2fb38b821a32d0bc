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

struct Row {
  const char* name;
  const char* major;
  bool native;  // the 32-bit program's own view, or the 64-bit view
  Seed seed;
  std::vector<std::pair<ControlId, std::string>> shown;
  LoadedSettings loaded;
};

// Stored values -> what the window shows and what the load keeps for later steps.
TEST(Load, StoredValuesGiveTheControlsAndTheKeptValues) {
  const std::string office14 = "C:\\Program Files\\Microsoft Office\\Office14\\";
  const Seed profile = [](MemoryRegistry& r) {
    Exchange(r).Dword("DumpsterAlwaysOn", 1);
    for (const char* branch : {"Software\\Wow6432Node\\", "Software\\"}) {
      r.Key(Root::LocalMachine, branch + Office("15", "Word\\InstallRoot").substr(9))
          .String("Path", "C:\\Program Files\\Microsoft Office\\Office14\\");
    }
    User(r, "15", "Outlook")
        .String("ForcePSTPath", "D:\\" + std::string(253, 'p'))  // 256 characters
        .ExpandString("ForceOSTPath", "D:\\" + std::string(254, 'o'))
        .Dword("DisableBGSave", 1);
    User(r, "15", "Outlook\\Options")
        .String("DefaultPath", "D:\\Saved\\")
        .Dword("DisablePOP3", 1)
        .Dword("DisableIMAP", 2)
        .Dword("DisableHTTP", 0xFFFFFFFF)
        .Data("DisableExchange", ValueType::Binary, DwordData(1));
    User(r, "15", "Outlook\\Preferences").String("MinToTray", "1");
    User(r, "15", "Outlook\\Options\\Mail").Dword("ReadAsPlain", 1);
    User(r, "15", "Common\\General").Dword("AcbControl", 0);
    User(r, "15", "Outlook\\Security")
        .String("OutlookSecureTempFolder", "C:\\Temp\\OLK2\\")
        .String("OutlookSecureOldTempFolder", "C:\\Temp\\OLK1\\")
        .String("Level1Remove", "exe;" + std::string(400, 'x'))
        .Dword("EnableDEP", 1);
    User(r, "15", "Common\\Internet").String("OfficeCacheLocation", "D:\\Cache\\");
  };
  const std::vector<std::pair<ControlId, std::string>> fields = {
      {edPSTPath, "D:\\" + std::string(253, 'p')},
      {edSaveAttPath, "D:\\Saved\\"},
      {edAttachmentPath, "C:\\Temp\\OLK2\\"},
      {edDocCachePath, "D:\\Cache\\"},
      {cbDumpster, "ticked"},
      {cbBGSave, "ticked"},
      {cbPOP3, "ticked"},
      {cbIMAP, ""},
      {cbHTTP, ""},
      {cbExchange, ""},
      {cbMinToSysTray, ""},
      {cbReadAsPlain, "ticked"},
      {cbEnableDEP, "ticked"},
      {cbShowClipboard, " off"},
      {btnRevert, ""}};
  const LoadedSettings kept = {
      "C:\\Temp\\OLK2\\", "C:\\Temp\\OLK1\\", "exe;" + std::string(400, 'x'), 1, "", ""};
  auto native_kept = kept, view64_kept = kept;
  native_kept.OutlookExePathQuoted = "\"" + office14 + "OUTLOOK.EXE\"";
  view64_kept.OutlookExePath = office14 + "OUTLOOK.EXE";
  auto native_fields = fields, view64_fields = fields;
  native_fields.emplace_back(edOSTPath, "D:\\" + std::string(254, 'o'));  // 257 characters
  view64_fields.emplace_back(edOSTPath, "");
  const Seed nothing = [](MemoryRegistry&) {};
  const Row rows[] = {
      {"native view", "15", true, profile, native_fields, native_kept},
      {"64-bit view", "15", false, profile, view64_fields, view64_kept},
      {"install folders of each branch, as they are",
       "14",
       false,
       [](MemoryRegistry& r) {
         r.Key(Root::LocalMachine, "Software\\Microsoft\\Office\\14.0\\Word\\InstallRoot")
             .String("Path", "C:\\x64");
       },
       {},
       {"", "", "", 0, "", "C:\\x64OUTLOOK.EXE"}},
      {"other types count as missing",
       "14",
       true,
       [](MemoryRegistry& r) {
         User(r, "14", "Outlook").Dword("ForcePSTPath", 7).Dword("DisablePST", 1);
         Exchange(r).String("DumpsterAlwaysOn", "1");
         User(r, "14", "Outlook\\Security").Dword("Level1Remove", 3).String("EnableDEP", "1");
       },
       {{edPSTPath, ""}, {cbDisablePST, "ticked"}, {cbDumpster, ""}, {cbEnableDEP, ""}},
       {}},
      {"only 1 ticks",
       "12",
       true,
       [](MemoryRegistry& r) { Exchange(r).Dword("DumpsterAlwaysOn", 2); },
       {{cbDumpster, ""}},
       {"", "", "", 2, "", ""}},
      {"empty previous folder",
       "14",
       true,
       [](MemoryRegistry& r) {
         User(r, "14", "Outlook\\Security").String("OutlookSecureOldTempFolder", "");
       },
       {{btnRevert, " off"}},
       {}},
      {"2000 has the clipboard box",
       "9",
       true,
       [](MemoryRegistry& r) { User(r, "9", "Common\\General").Dword("AcbControl", 0); },
       {{cbShowClipboard, ""}},
       {}},
      {"2002 has the clipboard box", "10", true, nothing, {{cbShowClipboard, ""}}, {}},
      {"2003 has none", "11", true, nothing, {{cbShowClipboard, " off"}}, {}},
      {"2007 has no DEP (the box is left) but a cache",
       "12",
       true,
       [](MemoryRegistry& r) {
         User(r, "12", "Outlook\\Security").Dword("EnableDEP", 0);
         User(r, "12", "Common\\Internet").String("OfficeCacheLocation", "D:\\C\\");
       },
       {{cbEnableDEP, "ticked"}, {edDocCachePath, "D:\\C\\"}},
       {}},
      {"a security key refusing full access, nothing opened before",
       "14",
       true,
       [](MemoryRegistry& r) {
         User(r, "14", "Outlook\\Security")
             .String("OutlookSecureTempFolder", "C:\\T\\")
             .RefuseAccess(Rights::Full);
         User(r, "14", "Outlook").RefuseAccess(Rights::Read);
       },
       {{edAttachmentPath, ""}},
       {}},
      {"a security key refusing full access, read once a key opened",
       "14",
       true,
       [](MemoryRegistry& r) {
         User(r, "14", "Outlook\\Security")
             .String("OutlookSecureTempFolder", "C:\\T\\")
             .RefuseAccess(Rights::Full);
         User(r, "14", "Outlook").RefuseAccess(Rights::Read);
         r.Key(Root::LocalMachine,
               NativeMachinePath(r, "Microsoft\\Office\\14.0\\Word\\InstallRoot"))
             .String("Path", "C:\\O\\");
       },
       {{edAttachmentPath, "C:\\T\\"}},
       {"C:\\T\\", "", "", 0, "\"C:\\O\\OUTLOOK.EXE\"", ""}},
  };
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

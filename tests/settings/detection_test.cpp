// What start-up reads: the Windows, the Outlook installed and its settings.
#include "settings/detection.h"

#include <gtest/gtest.h>
#include <tuple>

#include "fakes/memory_file_system.h"
#include "fakes/memory_form.h"
#include "platform/registry_object.h"
#include "settings/load.h"
#include "settings/windows_environment.h"
#include "support/registry_seed.h"
#include "support/versions.h"
#include "ui/main_layout.h"

namespace tarnwell {
namespace {

using namespace tform1;
using Windows = MemoryRegistry::Windows;
using Key = MemoryRegistry::KeyRef;

// Outlook `major` in the native view (N) or the 64-bit branch (W), with this text Bitness.
Key N(MemoryRegistry& r, const char* major, const char* bitness = "") {
  return SeedNativeOutlook(r, major).String("Bitness", bitness);
}
Key W(MemoryRegistry& r, const char* major, const char* bitness = "") {
  return Seed64BitOutlook(r, major).String("Bitness", bitness);
}
// A Click-to-Run configuration (64-bit branch) at C:\Office, and OUTLOOK.EXE in its `folder`.
Key C2R(MemoryRegistry& r, MemoryFileSystem& f, std::string_view folder = "Office16") {
  f.AddFile("C:\\Office\\root\\" + std::string(folder) + "\\OUTLOOK.EXE");
  return r
      .Key(Root::LocalMachine, std::string("Software\\Microsoft\\Office\\") +
                                   (folder == "Office16" ? "" : "15.0\\") +
                                   "ClickToRun\\Configuration")
      .String("InstallationPath", "C:\\Office")
      .String("Platform", "x64")
      .String("ProductReleaseIds", "VisioProRetail,O365ProPlusRetail");
}

// What detection leaves, with the view a 64-bit Windows would read its settings in.
std::string Detected(MemoryRegistry& registry, MemoryFileSystem& files) {
  MemoryForm form(MainWindowLayout());
  OutlookVersionInfo outlook;
  GetOutlookVersion(registry, files, form, outlook);
  EXPECT_EQ(0u, registry.OpenHandles());
  const std::string shown = form.Text(pOutlookVersion);
  const std::string text = shown.substr(shown.starts_with("Microsoft Outlook ") ? 18 : 0);
  if (!outlook.Found) {
    return text + ", not found";  // the controls are left as they were
  }
  const bool cache = form.Enabled(edDocCachePath) && form.Enabled(btnBrowse5);
  const bool white = form.Colour(edDocCachePath) == FieldColour::Window;
  return text + (ChooseUse32BitReadPath(true, outlook) ? ", 32-bit view" : "") +
         (cache ? ", cache" : "") + (cache != white ? " (colour wrong)" : "") +
         (form.Enabled(cbEnableDEP) ? ", DEP" : "") + (form.Enabled(cbPOP3) ? "" : ", no POP3");
}

// Installations on the machine (on 64- or 32-bit Windows, 0: both) -> what is detected.
TEST(Detection, InstallationsGiveTheVersionReadPathAndControls) {
  const struct {
    int on;
    const char* detected;
    void (*seed)(MemoryRegistry&, MemoryFileSystem&);
  } rows[] = {
      // clang-format off
      {0, "2013 (64-bit), cache, DEP", [](auto& r, auto&) { N(r, "15", "x64"); }},
      {0, "2000 (32-bit), 32-bit view, no POP3", [](auto& r, auto&) { SeedNativeOutlook(r, "9"); }},
      {0, "2013 (32-bit), 32-bit view, cache, DEP", [](auto& r, auto&) { N(r, "15", "X64"); }},
      {0, "...", [](auto& r, auto&) {  // the key gone at the second look
         N(r, "15", "x86");
         r.FailOn(MemoryRegistry::Op::Open, Root::LocalMachine,
                  NativeMachinePath(r, OutlookKey("15")), kFileNotFound, {}, 1); }},
      {64, "..., not found", [](auto& r, auto&) { N(r, "14").RefuseAccess(Rights::Full); }},
      {32, "2010 (32-bit), 32-bit view, cache, DEP",
       [](auto& r, auto&) { N(r, "14", "x86").RefuseAccess(Rights::Full); }},
      {64, "2007 (32-bit), 32-bit view", [](auto& r, auto&) { W(r, "15", "x64"); N(r, "12"); }},
      {64, "2010 (32-bit), 32-bit view, cache, DEP",
       [](auto& r, auto&) { W(r, "14").Dword("Bitness", 64); }},
      {64, "..., not found", [](auto& r, auto&) { W(r, "12"); }},
      {64, "for Microsoft 365 (64-bit), cache",
       [](auto& r, auto& f) { C2R(r, f).String("InstallationPath", "C:\\Office\\\\"); }},
      {64, "2016 (32-bit), 32-bit view, cache", [](auto& r, auto& f) {
         f.AddFile("\\\\server\\office\\root\\Office16\\OUTLOOK.EXE");
         r.Key(Root::LocalMachine,
               NativeMachinePath(r, "Microsoft\\Office\\ClickToRun\\Configuration"))
             .String("InstallationPath", "\\\\server\\office").String("Platform", "X64"); }},
      {64, "..., not found", [](auto& r, auto& f) {
         f.AddFile("\\root\\Office16\\OUTLOOK.EXE");
         C2R(r, f).String("InstallationPath", "\\\\"); }},
      {64, "..., not found",
       [](auto& r, auto& f) { C2R(r, f).String("InstallationPath", "D:\\Elsewhere"); }},
      {64, "2013 (64-bit), cache, DEP", [](auto& r, auto& f) { C2R(r, f, "Office15"); }},
      {64, "2016 (64-bit), cache", [](auto& r, auto&) { N(r, "15", "x86"); W(r, "16", "x64"); }},
      {64, "2016 (32-bit), 32-bit view, cache",
       [](auto& r, auto&) { W(r, "16", "x64"); N(r, "16", "x86"); }},
      {64, "2021 (64-bit), cache", [](auto& r, auto& f) {
         N(r, "16", "x86");
         C2R(r, f).String("ProductReleaseIds", "ProPlus2021Volume"); }},
      // clang-format on
  };
  for (const auto& row : rows) {
    for (const int bits : {64, 32}) {
      if (row.on == 0 || row.on == bits) {
        SCOPED_TRACE(std::to_string(&row - rows) + " on " + std::to_string(bits) + "-bit");
        MemoryRegistry registry(bits == 64 ? Windows::Bits64 : Windows::Bits32);
        MemoryFileSystem files;
        row.seed(registry, files);
        EXPECT_EQ(row.detected, Detected(registry, files));
      }
    }
  }
}

TEST(Detection, ReleaseIdsNameTheProductOfTheFirstRuleThatAnyIdMatches) {
  using enum Product;
  // clang-format off
  const std::pair<const char*, Product> rows[] = {
      {"O365ProPlusRetail,VisioProRetail", Microsoft365}, {"m365businessretail", Microsoft365},
      {"Outlook2019Volume,ProPlus2024Volume", Outlook2024}, {"ProPlus2021Volume", Outlook2021},
      {"Outlook2019Volume", Outlook2019}, {"VisioPro2024Retail,HomeBusinessRetail", OfVersion},
      {"", OfVersion}};
  // clang-format on
  for (const auto& [ids, product] : rows) {
    EXPECT_EQ(product, ReleaseOf(ids)) << ids;
  }
}

// Machine values -> 64-bit Windows (architecture with "64"), Windows 8 (product name as spelt).
TEST(Detection, MachineValuesGiveTheWindowsFlags) {
  const struct {
    const char *architecture, *product;
    bool fail, is64, is8;
  } rows[] = {// clang-format off
      {"AMD64", "Windows 8 Pro", false, true, true}, {"IA64", "Windows 8.1", false, true, true},
      {"x86", "windows 8", false, false, false}, {"", "", false, false, false},
      {"AMD64", "Windows 8 Pro", true, false, false}};
  // clang-format on
  for (const auto& row : rows) {
    MemoryRegistry registry;  // its native branch names Windows 8 whatever the 64-bit one says
    registry
        .Key(Root::LocalMachine,
             NativeMachinePath(registry, "Microsoft\\Windows NT\\CurrentVersion"))
        .String("ProductName", "Windows 8 Pro");
    SeedProcessorArchitecture(registry, row.architecture);
    SeedProductName(registry, row.product);
    if (row.fail) {
      registry.FailOn(MemoryRegistry::Op::Query, Root::LocalMachine,
                      "Software\\Microsoft\\Windows NT\\CurrentVersion", kAccessDenied);
      registry.FailOn(MemoryRegistry::Op::Open, Root::LocalMachine,
                      "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment",
                      kAccessDenied);
    }
    EXPECT_EQ(row.is64, ReadIs64BitWindows(registry)) << row.architecture;
    EXPECT_EQ(row.is8, ReadIsWindows8(registry)) << row.product;
  }
}

MemoryRegistry::KeyRef User(MemoryRegistry& registry, std::string_view major,
                            std::string_view below) {
  return registry.Key(Root::CurrentUser, OfficeKeyRoot(Version(major)) + std::string(below));
}

// What one control shows: a field its text, a box "ticked" or not; " off" when disabled.
std::string Shown(const MemoryForm& form, ControlId id) {
  const bool field = MainWindowLayout().Find(id)->name.starts_with("ed");
  return (field              ? form.Text(id)
          : form.Checked(id) ? "ticked"
                             : "") +
         (form.Enabled(id) ? "" : " off");
}

// A machine-wide key in the 64-bit branch, or in the native one.
MemoryRegistry::KeyRef Machine(MemoryRegistry& registry, std::string path, bool native = false) {
  path = "Microsoft\\" + path;
  return registry.Key(Root::LocalMachine,
                      native ? NativeMachinePath(registry, path) : "Software\\" + path);
}
// A security key that refuses full access, and an Outlook key that does not open.
void Refusing(MemoryRegistry& r) {
  User(r, "14", "Outlook\\Security")
      .String("OutlookSecureTempFolder", "C:\\T\\")
      .RefuseAccess(Rights::Full);
  User(r, "14", "Outlook").RefuseAccess(Rights::Read);
}
void LongPaths(MemoryRegistry& r) {
  User(r, "14", "Outlook")
      .String("ForcePSTPath", "D:\\" + std::string(254, 'p'))
      .ExpandString("ForceOSTPath", "D:\\" + std::string(253, 'o'));
  User(r, "14", "Outlook\\Security").String("Level1Remove", std::string(600, 'x'));
}

// Stored values, in either view -> the controls and kept values; a missing security key is made.
TEST(Load, StoredValuesGiveTheControlsAndTheKeptValues) {
  const std::string p257 = "D:\\" + std::string(254, 'p'), o256 = "D:\\" + std::string(253, 'o');
  const std::string x600(600, 'x');
  const struct {
    const char* major;
    bool native;
    std::vector<std::pair<ControlId, std::string>> shown;
    LoadedSettings loaded;
    void (*seed)(MemoryRegistry&);
  } rows[] = {
      // clang-format off
      {"14", true, {{edPSTPath, p257}, {edOSTPath, o256}, {cbEnableDEP, ""}, {cbDumpster, ""},
                    {btnRevert, " off"}}, {"", "", x600, 0, "", ""}, [](MemoryRegistry& r) {
         LongPaths(r);
         User(r, "14", "Outlook\\Security").String("EnableDEP", "1")
             .String("OutlookSecureOldTempFolder", "");
         Machine(r, "Exchange\\Client\\Options").String("DumpsterAlwaysOn", "1"); }},
      {"14", false, {{edPSTPath, ""}, {edOSTPath, o256}},
       {"", "", x600, 0, "", "C:\\x64OUTLOOK.EXE"}, [](MemoryRegistry& r) {
         LongPaths(r);
         Machine(r, "Office\\14.0\\Word\\InstallRoot").String("Path", "C:\\x64"); }},
      {"12", true, {{edPSTPath, ""}, {cbDisablePST, "ticked"}, {cbDumpster, ""},
                    {cbEnableDEP, "ticked"}, {edDocCachePath, "D:\\C\\"}, {btnRevert, ""}},
       {"", "C:\\Old\\", "", 2, "", ""},
       [](MemoryRegistry& r) {
         User(r, "12", "Outlook").Dword("ForcePSTPath", 7).Dword("DisablePST", 1);
         User(r, "12", "Outlook\\Security").Dword("Level1Remove", 3).Dword("EnableDEP", 0)
             .String("OutlookSecureOldTempFolder", "C:\\Old\\");
         User(r, "12", "Common\\Internet").String("OfficeCacheLocation", "D:\\C\\");
         Machine(r, "Exchange\\Client\\Options").Dword("DumpsterAlwaysOn", 2); }},
      {"9", true, {{cbShowClipboard, ""}}, {},
       [](MemoryRegistry& r) { User(r, "9", "Common\\General").Dword("AcbControl", 0); }},
      {"11", true, {{cbShowClipboard, " off"}}, {}, [](MemoryRegistry&) {}},
      {"14", true, {{edAttachmentPath, ""}}, {}, Refusing},  // once a key opened, it is read:
      {"14", true, {{edAttachmentPath, "C:\\T\\"}},
       {"C:\\T\\", "", "", 0, "\"C:\\O\\OUTLOOK.EXE\"", ""}, [](MemoryRegistry& r) {
         Machine(r, "Office\\14.0\\Word\\InstallRoot", true).String("Path", "C:\\O\\");
         Refusing(r); }},
      {"14", false, {}, {}, [](MemoryRegistry& r) {  // one that exists but does not open
         User(r, "14", "Outlook\\Security").String("Level1Remove", "x").RefuseAccess(Rights::Read);
       }},
      // clang-format on
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(&row - rows);
    Journal journal;
    MemoryRegistry registry(Windows::Bits64, &journal);
    User(registry, row.major, "Outlook");  // so that only its security key may be missing
    row.seed(registry);
    const std::string key = OfficeKeyRoot(Version(row.major)) + "Outlook\\Security";
    const bool existed = registry.HasKey(Root::CurrentUser, key);
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
    const auto kept = [](const LoadedSettings& l) {
      return std::tie(l.OutlookSecureTempFolder, l.OutlookSecureOldTempFolder, l.Level1Remove,
                      l.DumpsterAlwaysOn, l.OutlookExePathQuoted, l.OutlookExePath);
    };
    EXPECT_EQ(kept(row.loaded), kept(loaded));
    const std::string set = "set HKCU\\" + key;
    const std::vector<std::string> made = {
        "create HKCU\\" + key, set + " OutlookSecureTempFolder REG_SZ \"\"",
        set + " OutlookSecureOldTempFolder REG_SZ \"\"", set + " Level1Remove REG_SZ \"\""};
    EXPECT_EQ(existed ? std::vector<std::string>{} : made, journal.Entries());
  }
}

}  // namespace
}  // namespace tarnwell

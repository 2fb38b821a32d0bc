#include "settings/load.h"

#include <gmock/gmock.h>
#include <map>
#include <string>

#include "fakes/memory_form.h"
#include "state/outlook_version.h"
#include "support/registry_seed.h"
#include "support/versions.h"
#include "ui/main_layout.h"

namespace tarnwell {
namespace {

using namespace tform1;
using testing::ElementsAre;

std::string Office(std::string_view major, std::string_view below) {
  return OfficeKeyRoot(Version(major)) + std::string(below);
}

// A user's settings for Outlook `major`, everything present.
void SeedProfile(MemoryRegistry& registry, std::string_view major) {
  registry.Key(Root::LocalMachine, "Software\\Microsoft\\Exchange\\Client\\Options")
      .Dword("DumpsterAlwaysOn", 1);
  for (const std::string& branch : {NativeMachinePath(registry, ""), std::string("Software\\")}) {
    registry.Key(Root::LocalMachine, branch + Office(major, "Word\\InstallRoot").substr(9))
        .String("Path", "C:\\Program Files\\Microsoft Office\\Office14\\");
  }
  registry.Key(Root::CurrentUser, Office(major, "Outlook"))
      .String("ForcePSTPath", "D:\\Mail\\")
      .ExpandString("ForceOSTPath", "%USERPROFILE%\\Offline\\")
      .Dword("DisableBGSave", 1)
      .Dword("DisablePST", 0);
  registry.Key(Root::CurrentUser, Office(major, "Outlook\\Options"))
      .String("DefaultPath", "D:\\Saved\\")
      .Dword("DisablePOP3", 1)
      .Dword("DisableIMAP", 2)
      .Dword("DisableExchange", 0)
      .Dword("DisableHTTP", 1);
  registry.Key(Root::CurrentUser, Office(major, "Outlook\\Preferences")).Dword("MinToTray", 1);
  registry.Key(Root::CurrentUser, Office(major, "Outlook\\Options\\Mail"))
      .Dword("ReadAsPlain", 1)
      .Dword("SaveAllMIMENotJustHeaders", 1);
  registry.Key(Root::CurrentUser, Office(major, "Common\\General")).Dword("AcbControl", 0);
  registry.Key(Root::CurrentUser, Office(major, "Outlook\\Security"))
      .String("OutlookSecureTempFolder", "C:\\Temp\\OLK2\\")
      .String("OutlookSecureOldTempFolder", "C:\\Temp\\OLK1\\")
      .String("Level1Remove", "exe;url")
      .Dword("EnableDEP", 1);
  registry.Key(Root::CurrentUser, Office(major, "Common\\Internet"))
      .String("OfficeCacheLocation", "D:\\Cache\\");
}

// What a load put into the window, as one text per control: comparable between loads.
std::map<std::string_view, std::string> Controls(const MemoryForm& form) {
  std::map<std::string_view, std::string> shown;
  for (const auto& row : MainWindowLayout().controls) {
    shown[row.name] = "'" + form.Text(row.id) + "'" + (form.Checked(row.id) ? " ticked" : "") +
                      (form.Enabled(row.id) ? "" : " disabled") +
                      (form.Modified(row.id) ? " changed" : "");
  }
  return shown;
}

class Load : public testing::Test {
 protected:
  MemoryRegistry registry_;
  MemoryForm form_{MainWindowLayout()};
  LoadedSettings loaded_;
};

TEST_F(Load, NativeViewFillsEveryControlAndKeepsWhatLaterStepsNeed) {
  SeedProfile(registry_, "14");
  ProcessRegRead32Bit(registry_, Installed("14"), form_, loaded_);
  EXPECT_EQ(0u, registry_.OpenHandles());

  EXPECT_EQ("D:\\Mail\\", form_.Text(edPSTPath));
  EXPECT_EQ("%USERPROFILE%\\Offline\\", form_.Text(edOSTPath));
  EXPECT_EQ("D:\\Saved\\", form_.Text(edSaveAttPath));
  EXPECT_EQ("C:\\Temp\\OLK2\\", form_.Text(edAttachmentPath));
  EXPECT_EQ("D:\\Cache\\", form_.Text(edDocCachePath));
  for (ControlId field : {edPSTPath, edOSTPath, edSaveAttPath, edAttachmentPath, edDocCachePath}) {
    EXPECT_FALSE(form_.Modified(field));
  }
  for (ControlId ticked : {cbDumpster, cbBGSave, cbPOP3, cbHTTP, cbMinToSysTray, cbReadAsPlain,
                           cbSaveMIME, cbEnableDEP}) {
    EXPECT_TRUE(form_.Checked(ticked)) << MainWindowLayout().Find(ticked)->name;
  }
  for (ControlId unticked : {cbDisablePST, cbIMAP, cbExchange, cbOther, cbShowClipboard}) {
    EXPECT_FALSE(form_.Checked(unticked)) << MainWindowLayout().Find(unticked)->name;
  }
  EXPECT_TRUE(form_.Enabled(btnRevert));
  EXPECT_FALSE(form_.Enabled(cbShowClipboard));

  EXPECT_EQ("C:\\Temp\\OLK2\\", loaded_.OutlookSecureTempFolder);
  EXPECT_EQ("C:\\Temp\\OLK1\\", loaded_.OutlookSecureOldTempFolder);
  EXPECT_EQ("exe;url", loaded_.Level1Remove);
  EXPECT_EQ(1u, loaded_.DumpsterAlwaysOn);
  EXPECT_EQ("\"C:\\Program Files\\Microsoft Office\\Office14\\OUTLOOK.EXE\"",
            loaded_.OutlookExePathQuoted);
  EXPECT_EQ("", loaded_.OutlookExePath);
}

TEST_F(Load, BothViewsAgreeButOnTextOverTwoHundredFiftySixAndTheExecutablePath) {
  SeedProfile(registry_, "15");
  registry_.Key(Root::CurrentUser, Office("15", "Outlook"))
      .String("ForcePSTPath", "D:\\" + std::string(253, 'p'))   // 256 characters
      .String("ForceOSTPath", "D:\\" + std::string(254, 'o'));  // 257 characters
  std::string all;
  for (const char* extension : {"ade", "adp", "app", "asp", "asx", "bas", "bat", "cer"}) {
    all += std::string(all.empty() ? "" : ";") + extension;
  }
  const std::string long_list = all + ";" + std::string(400, 'x');
  registry_.Key(Root::CurrentUser, Office("15", "Outlook\\Security"))
      .String("Level1Remove", long_list);

  MemoryForm native(MainWindowLayout());
  LoadedSettings native_loaded;
  ProcessRegRead32Bit(registry_, Installed("15"), native, native_loaded);
  MemoryForm view64(MainWindowLayout());
  LoadedSettings view64_loaded;
  ProcessRegRead64Bit(registry_, Installed("15"), view64, view64_loaded);

  auto native_controls = Controls(native);
  auto view64_controls = Controls(view64);
  EXPECT_EQ("'D:\\" + std::string(254, 'o') + "'", native_controls["edOSTPath"]);
  EXPECT_EQ("''", view64_controls["edOSTPath"]);
  native_controls["edOSTPath"] = view64_controls["edOSTPath"];
  EXPECT_EQ(native_controls, view64_controls);
  EXPECT_EQ(256u, view64.Text(edPSTPath).size());

  EXPECT_EQ(long_list, native_loaded.Level1Remove);
  EXPECT_EQ(long_list, view64_loaded.Level1Remove);
  EXPECT_EQ("\"C:\\Program Files\\Microsoft Office\\Office14\\OUTLOOK.EXE\"",
            native_loaded.OutlookExePathQuoted);
  EXPECT_EQ("", native_loaded.OutlookExePath);
  EXPECT_EQ("C:\\Program Files\\Microsoft Office\\Office14\\OUTLOOK.EXE",
            view64_loaded.OutlookExePath);
  EXPECT_EQ("", view64_loaded.OutlookExePathQuoted);
}

// The views differ in where the install folder is: the 32-bit or the 64-bit branch.
TEST_F(Load, InstallFolderComesFromTheLoadsOwnBranch) {
  registry_
      .Key(Root::LocalMachine, "Software\\Wow6432Node\\Microsoft\\Office\\14.0\\Word\\InstallRoot")
      .String("Path", "C:\\x86\\");
  registry_.Key(Root::LocalMachine, "Software\\Microsoft\\Office\\14.0\\Word\\InstallRoot")
      .String("Path", "C:\\x64");
  ProcessRegRead32Bit(registry_, Installed("14"), form_, loaded_);
  LoadedSettings view64;
  ProcessRegRead64Bit(registry_, Installed("14"), form_, view64);
  EXPECT_EQ("\"C:\\x86\\OUTLOOK.EXE\"", loaded_.OutlookExePathQuoted);
  EXPECT_EQ("C:\\x64OUTLOOK.EXE", view64.OutlookExePath);  // nothing is put in between
}

TEST_F(Load, ValueOfAnotherTypeCountsAsMissingAndTheLoadGoesOn) {
  for (bool native : {true, false}) {
    MemoryRegistry registry;
    registry.Key(Root::CurrentUser, Office("14", "Outlook"))
        .Dword("ForcePSTPath", 7)
        .String("DisableBGSave", "1")
        .Dword("DisablePST", 1);
    registry.Key(Root::CurrentUser, Office("14", "Outlook\\Options"))
        .Data("DisablePOP3", ValueType::Binary, DwordData(1))
        .Dword("DisableIMAP", 1);
    registry.Key(Root::LocalMachine, "Software\\Microsoft\\Exchange\\Client\\Options")
        .String("DumpsterAlwaysOn", "1");
    registry.Key(Root::CurrentUser, Office("14", "Outlook\\Security"))
        .Dword("Level1Remove", 3)
        .String("EnableDEP", "1");
    MemoryForm form(MainWindowLayout());
    LoadedSettings loaded;
    (native ? ProcessRegRead32Bit : ProcessRegRead64Bit)(registry, Installed("14"), form, loaded);
    EXPECT_EQ("", form.Text(edPSTPath)) << native;
    EXPECT_FALSE(form.Checked(cbBGSave)) << native;
    EXPECT_TRUE(form.Checked(cbDisablePST)) << native;
    EXPECT_FALSE(form.Checked(cbPOP3)) << native;
    EXPECT_TRUE(form.Checked(cbIMAP)) << native;
    EXPECT_FALSE(form.Checked(cbDumpster)) << native;
    EXPECT_EQ(0u, loaded.DumpsterAlwaysOn) << native;
    EXPECT_EQ("", loaded.Level1Remove) << native;
    EXPECT_FALSE(form.Checked(cbEnableDEP)) << native;
  }
}

TEST_F(Load, TicksOnlyForExactlyOne) {
  registry_.Key(Root::LocalMachine, "Software\\Microsoft\\Exchange\\Client\\Options")
      .Dword("DumpsterAlwaysOn", 2);
  registry_.Key(Root::CurrentUser, Office("12", "Outlook\\Options"))
      .Dword("DisablePOP3", 0)
      .Dword("DisableIMAP", 2)
      .Dword("DisableHTTP", 0xFFFFFFFF);
  ProcessRegRead32Bit(registry_, Installed("12"), form_, loaded_);
  EXPECT_FALSE(form_.Checked(cbDumpster));
  EXPECT_EQ(2u, loaded_.DumpsterAlwaysOn);
  EXPECT_FALSE(form_.Checked(cbPOP3));
  EXPECT_FALSE(form_.Checked(cbIMAP));
  EXPECT_FALSE(form_.Checked(cbHTTP));
  EXPECT_FALSE(form_.Checked(cbExchange));
}

TEST_F(Load, MissingSecurityKeyIsCreatedWithThreeEmptyTexts) {
  Journal journal;
  MemoryRegistry registry(MemoryRegistry::Windows::Bits64, &journal);
  registry.Key(Root::CurrentUser, Office("14", "Outlook")).String("ForcePSTPath", "D:\\");
  ProcessRegRead64Bit(registry, Installed("14"), form_, loaded_);
  const std::string key = "HKCU\\" + Office("14", "Outlook\\Security");
  EXPECT_THAT(journal.Entries(),
              ElementsAre("create " + key, "set " + key + " OutlookSecureTempFolder REG_SZ \"\"",
                          "set " + key + " OutlookSecureOldTempFolder REG_SZ \"\"",
                          "set " + key + " Level1Remove REG_SZ \"\""));
  EXPECT_EQ(1u,
            registry.Value(Root::CurrentUser, Office("14", "Outlook\\Security"), "Level1Remove")
                ->data.size());
  EXPECT_EQ("", form_.Text(edAttachmentPath));
  EXPECT_FALSE(form_.Enabled(btnRevert));
  EXPECT_FALSE(form_.Checked(cbEnableDEP));
}

// The native load tests Outlook\Security with the key object's right of the moment: full
// access until an open for reading succeeded, read after. (Here Outlook itself will not
// open, and nothing else is there to open until the install folder is.)
TEST_F(Load, SecurityKeyThatRefusesFullAccessIsReadOnceAnotherKeyWasOpened) {
  registry_.Key(Root::CurrentUser, Office("14", "Outlook\\Security"))
      .String("OutlookSecureTempFolder", "C:\\Temp\\")
      .RefuseAccess(Rights::Full);
  registry_.Key(Root::CurrentUser, Office("14", "Outlook")).RefuseAccess(Rights::Read);
  ProcessRegRead32Bit(registry_, Installed("14"), form_, loaded_);
  EXPECT_EQ("", form_.Text(edAttachmentPath));

  registry_.Key(Root::LocalMachine,
                NativeMachinePath(registry_, "Microsoft\\Office\\14.0\\Word\\InstallRoot"));
  MemoryForm form(MainWindowLayout());
  LoadedSettings loaded;
  ProcessRegRead32Bit(registry_, Installed("14"), form, loaded);
  EXPECT_EQ("C:\\Temp\\", form.Text(edAttachmentPath));
}

// A key that exists but does not open keeps its values: only a key made by the load gets
// the three empty ones.
TEST_F(Load, SecurityKeyThatExistsButDoesNotOpenIsNotEmptied) {
  Journal journal;
  MemoryRegistry registry(MemoryRegistry::Windows::Bits64, &journal);
  registry.Key(Root::CurrentUser, Office("14", "Outlook\\Security"))
      .String("Level1Remove", "exe")
      .RefuseAccess(Rights::Read);
  ProcessRegRead64Bit(registry, Installed("14"), form_, loaded_);
  EXPECT_THAT(journal.Entries(), testing::IsEmpty());
  EXPECT_EQ("exe",
            registry.Value(Root::CurrentUser, Office("14", "Outlook\\Security"), "Level1Remove")
                ->TextUpToNul());
}

TEST_F(Load, ClipboardBoxIsForOutlook2000And2002Only) {
  registry_.Key(Root::CurrentUser, Office("9", "Common\\General")).Dword("AcbControl", 0);
  for (auto [major, enabled] : {std::pair{"9", true}, std::pair{"10", true}, std::pair{"11", false},
                                std::pair{"15", false}}) {
    MemoryForm form(MainWindowLayout());
    LoadedSettings loaded;
    ProcessRegRead32Bit(registry_, Installed(major), form, loaded);
    EXPECT_EQ(enabled, form.Enabled(cbShowClipboard)) << major;
    EXPECT_FALSE(form.Checked(cbShowClipboard)) << major;
  }
}

TEST_F(Load, PreviousFolderEnablesRevertOnlyWhenNotEmpty) {
  registry_.Key(Root::CurrentUser, Office("14", "Outlook\\Security"))
      .String("OutlookSecureOldTempFolder", "");
  ProcessRegRead32Bit(registry_, Installed("14"), form_, loaded_);
  EXPECT_FALSE(form_.Enabled(btnRevert));
}

TEST_F(Load, DepIsReadFor2010And2013OnlyAndTheCacheForEveryVersion) {
  for (const char* major : {"12", "14"}) {
    registry_.Key(Root::CurrentUser, Office(major, "Outlook\\Security")).Dword("EnableDEP", 1);
    registry_.Key(Root::CurrentUser, Office(major, "Common\\Internet"))
        .String("OfficeCacheLocation", "D:\\Cache\\");
  }
  ProcessRegRead32Bit(registry_, Installed("12"), form_, loaded_);
  EXPECT_FALSE(form_.Checked(cbEnableDEP));
  EXPECT_EQ("D:\\Cache\\", form_.Text(edDocCachePath));

  registry_.Key(Root::CurrentUser, Office("14", "Outlook\\Security")).Remove("EnableDEP");
  MemoryForm form(MainWindowLayout());
  form.SetChecked(cbEnableDEP, true);
  ProcessRegRead32Bit(registry_, Installed("14"), form, loaded_);
  EXPECT_FALSE(form.Checked(cbEnableDEP));
  EXPECT_EQ("D:\\Cache\\", form.Text(edDocCachePath));
}

}  // namespace
}  // namespace tarnwell

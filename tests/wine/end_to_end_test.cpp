// tarnwell.exe itself, started in a Wine prefix seeded from the demo installations, driven
// from outside through its windows, its message boxes and the programs it starts.
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <sstream>

#include "platform/win32/win32_file_system.h"
#include "ui/main_layout.h"
#include "windows/main_window.h"
#include "wine/remote_window.h"

namespace tarnwell {
namespace {

using namespace tform1;
using namespace std::string_literals;

const std::string kDocuments = "C:\\users\\Public\\Documents\\";

void RegImport(const std::string& file, const std::string& view = " /reg:64") {
  ASSERT_EQ(0u, RunningProgram("reg.exe import \"" + file + "\"" + view).ExitCode(30000)) << file;
}

// The values below Outlook's keys: what a save writes and a backup puts back (neither takes
// away a key that a save made).
std::set<std::string> RegistryOfInterest() {
  std::istringstream in(
      RegistrySnapshot(HKEY_CURRENT_USER, 0, "Software\\Microsoft\\Office") +
      RegistrySnapshot(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, "Software\\Microsoft\\Office") +
      RegistrySnapshot(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, "Software\\Microsoft\\Office") +
      RegistrySnapshot(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, "Software\\Microsoft\\Exchange"));
  std::set<std::string> values;
  for (std::string line; std::getline(in, line);) {
    if (!line.starts_with("[")) {
      values.insert(line);
    }
  }
  return values;
}

// The innermost window of this id below `parent` (the edit inside a combo box).
HWND Find(HWND parent, ControlId id) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (HWND inner = Find(child, id); inner != nullptr || GetDlgCtrlID(child) == id) {
      return inner ? inner : child;
    }
  }
  return nullptr;
}

class EndToEnd : public testing::Test {
 protected:
  // Back to a 64-bit Windows without Outlook, then a demo installation, whose key names mean
  // the 64-bit view, and `also` when given; then the program, its main window awaited unless
  // `also` brings a start-up error first.
  void Start(const std::string& installation, const std::string& also = {}) {
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
      HKEY microsoft = nullptr;
      RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft", 0, KEY_ALL_ACCESS | view,
                    &microsoft);
      RegDeleteTreeA(microsoft, "Office");
      RegDeleteTreeA(microsoft, "Exchange");
      RegCloseKey(microsoft);
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Microsoft\\Office");
    RegSetKeyValueA(HKEY_LOCAL_MACHINE,
                    "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment",
                    "PROCESSOR_ARCHITECTURE", REG_SZ, "AMD64", 6);
    RegImport(WindowsPath(std::getenv("TARNWELL_DEMO") + "/"s + installation + ".reg"));
    if (!also.empty()) {
      RegImport(also);
    }
    before_ = RegistryOfInterest();
    program_ =
        std::make_unique<RunningProgram>("\"" + WindowsPath(std::getenv("TARNWELL_EXE")) + "\"");
    window_ = program_->Shown("TarnwellTForm1", also.empty() ? 60000 : 0);
    ASSERT_TRUE(window_ || !also.empty()) << "the main window did not appear";
  }

  // Clicks a button and waits until the click was handled; Press does not wait.
  void Click(ControlId id) { SendMessageA(Find(window_, id), BM_CLICK, 0, 0); }
  void Press(ControlId id) { PostMessageA(Find(window_, id), BM_CLICK, 0, 0); }
  void ShowTab(int tab) { SendMessageA(Find(window_, MainTabControl), TCM_SETCURFOCUS, tab, 0); }

  // Waits for the next dialog or message box, puts `file` into the file-name field of a file
  // dialog, answers with `button` and returns the message; nothing when none came.
  std::optional<std::string> Answer(int button, const std::string& file = {}, DWORD wait = 20000) {
    HWND box = program_->Shown("#32770", wait);
    if (box == nullptr) {
      return std::nullopt;
    }
    SendMessageA(Find(box, 0x47C), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
    const std::string message = WindowText(Find(box, 0xFFFF));
    PostMessageA(box, WM_COMMAND, button, 0);
    for (int gone = 0; gone < 250 && IsWindowVisible(box); ++gone) {
      Sleep(20);
    }
    return message;
  }

  // Presses "&Save and Close", answers Yes to the confirmation and OK to every message after
  // it until the program ends; returns the messages.
  std::vector<std::string> SaveAndAnswer() {
    Press(btnSave);
    std::vector<std::string> messages;
    while (auto message = Answer(messages.empty() ? IDYES : IDOK, {}, 10000)) {
      messages.push_back(*message);
    }
    EXPECT_EQ(0u, program_->ExitCode(10000));
    return messages;
  }

  std::set<std::string> before_;
  std::unique_ptr<RunningProgram> program_;
  HWND window_ = nullptr;
};

// A save through the real message boxes on each read path, its values found in the view
// they belong to; the backup it wrote, imported by reg.exe, puts back every value as it was.
TEST_F(EndToEnd, SaveOnEachReadPathAndItsBackupPutBackByRegImport) {
  const std::tuple<const char*, ControlId, std::string> rows[] = {
      {"outlook2010-32", cbDumpster, "Exchange\\Client\\Options\\DumpsterAlwaysOn=4:\0\0\0\0"s},
      {"outlook2013-64", cbBGSave, "Office\\15.0\\Outlook\\DisableBGSave=4:\0\0\0\0"s},
      {"outlook2000-32bit-windows", cbBGSave, "Office\\9.0\\Outlook\\DisableBGSave=4:\x01\0\0\0"s},
  };
  Win32FileSystem files;
  const std::string backups = files.LocalAppDataFolder() + "Tarnwell\\Backups\\";
  for (const auto& [installation, box, written] : rows) {
    SCOPED_TRACE(installation);
    for (const std::string& earlier : files.FileNames(backups)) {
      files.RemoveFile(backups + earlier);
    }
    Start(installation);
    ShowTab(3);
    Click(box);
    const std::vector<std::string> messages = SaveAndAnswer();
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ("Are you sure you want to make these changes?", messages.front());
    EXPECT_EQ("You must restart Outlook for these changes to take effect.", messages.back());
    EXPECT_EQ(1u, RegistryOfInterest().count("Software\\Microsoft\\" + written)) << written;
    const std::vector<std::string> backup = files.FileNames(backups);
    ASSERT_EQ(1u, backup.size()) << "one backup in " << backups;
    RegImport(backups + backup[0]);
    EXPECT_EQ(before_, RegistryOfInterest());
  }
}

TEST_F(EndToEnd, StartUpErrorIsShownAndTheWindowStillOpens) {
  std::ofstream(kDocuments + "bad.reg")
      << "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Microsoft\\Office\\15.0\\Outlook]"
         "\n\"Bitness\"=dword:00000040\n";
  Start("no-outlook", kDocuments + "bad.reg");
  EXPECT_EQ("Invalid data type for 'Bitness'", Answer(IDOK, {}, 60000));
  window_ = program_->Shown("TarnwellTForm1", 60000);
  EXPECT_EQ(kNotInstalledText, WindowText(Find(window_, pOutlookVersion)));
  EXPECT_FALSE(IsWindowEnabled(Find(window_, btnSave)));
}

// Outlook started for real: a stand-in, copied into the install folder, shows how.
TEST_F(EndToEnd, OutlookIsStartedFromTheInstallFolderWithTheChosenOption) {
  const std::string folder = "C:\\Program Files (x86)\\Microsoft Office\\Office14\\";
  ASSERT_TRUE(Win32FileSystem().MakeFolders(folder));
  ASSERT_TRUE(CopyFileA(WindowsPath(std::getenv("TARNWELL_STANDIN")).c_str(),
                        (folder + "OUTLOOK.EXE").c_str(), FALSE));
  Start("outlook2010-32");
  ShowTab(4);
  HWND list = Find(window_, lbCLOptions);
  SendMessageA(list, LB_SETCURSEL, 59, 0);  // /safe:1
  SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(lbCLOptions, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
  Press(btnLaunchOutlook);
  HWND shown = nullptr;
  for (int wait = 0; wait < 500 && !shown; ++wait) {
    Sleep(20);
    shown = FindWindowA("#32770", "Outlook stand-in: started with this command line");
  }
  EXPECT_EQ("\"" + folder + "OUTLOOK.EXE\" /safe:1", WindowText(Find(shown, 0xFFFF)));
  PostMessageA(shown, WM_COMMAND, IDOK, 0);
}

// The mail profiles exported by Wine's own registry editor, through the real confirmation,
// save dialog and result message.
TEST_F(EndToEnd, ProfilesExportedByTheRegistryEditor) {
  const std::string file = kDocuments + "profile backup.reg";
  const std::string profiles =
      "[HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\15.0\\Outlook\\Profiles";
  Start("outlook2013-64");
  ShowTab(2);
  Press(btnSaveUserInfo);
  Answer(IDYES);
  Answer(IDOK, file);
  EXPECT_EQ("Microsoft Outlook user information successfully saved!", Answer(IDOK, {}, 70000));
  EXPECT_EQ("Windows Registry Editor Version 5.00\r\n\r\n" + profiles + "]\r\n\r\n" + profiles +
                "\\Outlook]\r\n\"DefaultProfile\"=\"Outlook\"\r\n\r\n",
            FileText(file));
}

// Settings exported here and imported by reg.exe where Outlook's keys are empty: every value
// the import sets is one that a save here writes. (The export writes every value, the save
// the changed ones: the attachment folder changes too, so that it and the previous one are.)
TEST_F(EndToEnd, ExportedSettingsImportedByRegExeAreWhatASaveWrites) {
  const std::string file = kDocuments + "exported settings.reg";
  Start("outlook2010-32");
  HWND edit = Find(window_, edAttachmentPath);
  SendMessageA(edit, WM_SETTEXT, 0, LPARAM(""));
  for (char c : kDocuments) {
    SendMessageA(edit, WM_CHAR, c, 0);
  }
  ShowTab(2);
  Click(cbReadAsPlain);
  PostMessageA(window_, WM_SYSCOMMAND, miExportSettings, 0);
  Answer(IDOK, file);
  EXPECT_EQ("The settings were exported to " + file + ".", Answer(IDOK));
  SaveAndAnswer();
  const auto saved = RegistryOfInterest();
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Microsoft\\Office");
  RegImport(file, "");
  const auto imported = RegistryOfInterest();
  EXPECT_GE(imported.size(), 18u);
  for (const std::string& value : imported) {
    EXPECT_TRUE(saved.count(value)) << value;
  }
}

}  // namespace
}  // namespace tarnwell

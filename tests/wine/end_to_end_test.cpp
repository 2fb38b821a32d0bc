// tarnwell.exe itself on the demo installations, driven from outside through its windows.
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <set>
#include <sstream>

#include "platform/win32/win32_file_system.h"
#include "ui/main_layout.h"
#include "wine/remote_window.h"

namespace tarnwell {
namespace {

using namespace tform1;
using namespace std::string_literals;

const std::string kDocuments = "C:\\users\\Public\\Documents\\";

void RegImport(const std::string& file, const std::string& view = " /reg:64") {
  ASSERT_EQ(0u, RunningProgram("reg.exe import \"" + file + "\"" + view).ExitCode(30000)) << file;
}

// The values below Outlook's keys.
std::set<std::string> RegistryOfInterest() {
  std::istringstream in(
      RegistrySnapshot(HKEY_CURRENT_USER, 0, "Software\\Microsoft\\Office") +
      RegistrySnapshot(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, "Software\\Microsoft\\Office") +
      RegistrySnapshot(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, "Software\\Microsoft\\Office") +
      RegistrySnapshot(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, "Software\\Microsoft\\Exchange"));
  std::set<std::string> values;
  for (std::string line; std::getline(in, line);) {
    values.insert(line);
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
  // A 64-bit Windows with a demo installation imported; the program.
  void Start(const std::string& installation) {
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
    before_ = RegistryOfInterest();
    program_.emplace("\"" + WindowsPath(std::getenv("TARNWELL_EXE")) + "\"");
    window_ = program_->Shown("TarnwellTForm1", 60000);
    ASSERT_TRUE(window_) << "the main window did not appear";
  }

  void Click(ControlId id) { SendMessageA(Find(window_, id), BM_CLICK, 0, 0); }
  void Press(ControlId id) { PostMessageA(Find(window_, id), BM_CLICK, 0, 0); }
  void ShowTab(int tab) { SendMessageA(Find(window_, MainTabControl), TCM_SETCURFOCUS, tab, 0); }

  // The next box's message, `file` put into a file dialog's name field, answered with `button`.
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

  // "&Save and Close", Yes to the confirmation and OK to each message after; the messages.
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
  std::optional<RunningProgram> program_;
  HWND window_ = nullptr;
};

// A save on each read path writes its view; reg.exe importing its backup puts all values back.
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
    files.RemoveFile(backups + backup[0]);
  }
}

// The mail profiles exported by the registry editor through the program's dialogs; Outlook (a
// stand-in) started from its folder; exported settings that reg.exe imports are what a save
// writes (the attachment folder changed, so that the save writes it too).
TEST_F(EndToEnd, ProfilesExportedOutlookStartedAndSettingsExportedForRegExe) {
  const std::string folder = "C:\\Program Files (x86)\\Microsoft Office\\Office14\\";
  ASSERT_TRUE(Win32FileSystem().MakeFolders(folder));
  ASSERT_TRUE(CopyFileA(WindowsPath(std::getenv("TARNWELL_STANDIN")).c_str(),
                        (folder + "OUTLOOK.EXE").c_str(), FALSE));
  Start("outlook2010-32");
  ShowTab(2);
  Press(btnSaveUserInfo);
  Answer(IDYES);
  Answer(IDOK, kDocuments + "profiles.reg");
  EXPECT_EQ("Microsoft Outlook user information successfully saved!", Answer(IDOK, {}, 70000));
  const std::string key =
      "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging "
      "Subsystem\\Profiles";
  EXPECT_EQ("Windows Registry Editor Version 5.00\r\n\r\n" + key + "]\r\n\r\n" + key +
                "\\Outlook]\r\n\"DefaultProfile\"=\"Outlook\"\r\n\r\n",
            FileText(kDocuments + "profiles.reg"));
  ShowTab(4);
  HWND list = Find(window_, lbCLOptions);
  SendMessageA(list, LB_SETCURSEL, 59, 0);  // /safe:1
  SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(lbCLOptions, LBN_SELCHANGE), LPARAM(list));
  Press(btnLaunchOutlook);
  HWND shown = nullptr;
  for (int wait = 0; wait < 500 && !shown; ++wait) {
    Sleep(20);
    shown = FindWindowA("#32770", "Outlook stand-in: started with this command line");
  }
  EXPECT_EQ("\"" + folder + "OUTLOOK.EXE\" /safe:1", WindowText(Find(shown, 0xFFFF)));
  SendMessageA(shown, WM_COMMAND, IDOK, 0);
  const std::string file = kDocuments + "exported settings.reg";
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

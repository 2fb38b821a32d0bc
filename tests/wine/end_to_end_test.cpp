// tarnwell.exe itself, started in a Wine prefix seeded from the demo installations, seen
// from outside through its window.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gmock/gmock.h>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <tlhelp32.h>
#include <vector>

#include "ui/addins_layout.h"
#include "ui/folder_picker_layout.h"
#include "ui/main_layout.h"
#include "ui/places_layout.h"
#include "windows/main_window.h"
#include "wine/remote_window.h"
#include "wine/snapshot.h"

namespace tarnwell {
namespace {

using namespace tform1;

constexpr COLORREF kSilver = RGB(0xC0, 0xC0, 0xC0);

std::string FromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

void DeleteTree(HKEY root, REGSAM view, const char* parent, const char* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, parent, 0, KEY_ALL_ACCESS | view, &key) == ERROR_SUCCESS) {
    RegDeleteTreeA(key, name);
    RegCloseKey(key);
  }
}

void SetMachineText(const char* path, const char* name, const char* text) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_WRITE | KEY_WOW64_64KEY, nullptr,
                      &key, nullptr) == ERROR_SUCCESS) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>(strlen(text) + 1));
    RegCloseKey(key);
  }
}

std::string RegistryOfInterest() {
  return RegistrySnapshot(HKEY_CURRENT_USER, 0, "Software\\Microsoft\\Office") +
         RegistrySnapshot(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, "Software\\Microsoft\\Office") +
         RegistrySnapshot(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, "Software\\Microsoft\\Office") +
         RegistrySnapshot(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, "Software\\Microsoft\\Exchange");
}

class EndToEnd : public testing::Test {
 protected:
  void SetUp() override {
    exe_ = FromEnvironment("TARNWELL_EXE");
    demo_ = FromEnvironment("TARNWELL_DEMO");
    ASSERT_FALSE(exe_.empty()) << "TARNWELL_EXE names the program under test";
    ASSERT_FALSE(demo_.empty()) << "TARNWELL_DEMO names the demo folder";
    // Back to a machine without Outlook: the demos add to it.
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
      DeleteTree(HKEY_LOCAL_MACHINE, view, "Software\\Microsoft", "Office");
      DeleteTree(HKEY_LOCAL_MACHINE, view, "Software\\Microsoft", "Exchange");
    }
    DeleteTree(HKEY_CURRENT_USER, 0, "Software\\Microsoft", "Office");
    SetMachineText("SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment",
                   "PROCESSOR_ARCHITECTURE", "AMD64");
    SetMachineText("Software\\Microsoft\\Windows NT\\CurrentVersion", "ProductName",
                   "Microsoft Windows 7");
  }

  // Seeds the registry from a demo file, in the 64-bit view that the file's key names mean:
  // the reg.exe a 32-bit test starts is the 32-bit one, which would otherwise put
  // HKLM\Software keys into the Wow6432Node branch. It exits 0 even when it skipped lines,
  // so every key of the file is looked for afterwards.
  void Import(const std::string& installation) {
    const std::string file = demo_ + "/" + installation + ".reg";
    RunningProgram reg("reg.exe import \"" + WindowsPath(file) + "\" /reg:64");
    ASSERT_TRUE(reg.Started());
    ASSERT_EQ(0u, reg.WaitForExit(30000).value_or(99));
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
      line = line.substr(0, line.find_last_not_of("\r") + 1);
      if (line.size() < 2 || line.front() != '[' || line.back() != ']') {
        continue;
      }
      const std::string name = line.substr(1, line.size() - 2);
      const std::size_t slash = name.find('\\');
      const HKEY root =
          name.substr(0, slash) == "HKEY_CURRENT_USER" ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
      HKEY key = nullptr;
      EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(root, name.substr(slash + 1).c_str(), 0,
                                             KEY_READ | KEY_WOW64_64KEY, &key))
          << name << " was not imported";
      RegCloseKey(key);
    }
  }

  // Starts the program (or a copy of it at a Windows path) and waits for its main window.
  void Start(const std::string& copy = {}) {
    Launch(copy);
    WaitForMainWindow();
  }
  void Launch(const std::string& copy = {}) {
    program_ =
        std::make_unique<RunningProgram>("\"" + (copy.empty() ? WindowsPath(exe_) : copy) + "\"");
    ASSERT_TRUE(program_->Started());
  }
  void WaitForMainWindow() {
    window_ = RemoteWindow::WaitFor(*program_, "TarnwellTForm1", 60000);
    ASSERT_TRUE(window_.has_value()) << "the main window did not appear";
  }

  // Presses "&Save and Close", answers Yes to the confirmation and OK to every message after
  // it, and waits for the program to end; returns the messages' texts.
  std::vector<std::string> SaveAndAnswer() {
    PostMessageA(window_->Control(btnSave), BM_CLICK, 0, 0);
    std::vector<std::string> messages;
    while (auto box = RemoteWindow::WaitFor(*program_, "#32770", 10000)) {
      messages.push_back(box->MessageText());
      PostMessageA(box->Handle(), WM_COMMAND, messages.size() == 1 ? IDYES : IDOK, 0);
      WaitUntilGone(box->Handle());
    }
    EXPECT_EQ(0u, program_->WaitForExit(10000).value_or(99));
    return messages;
  }

  static bool WaitUntilGone(HWND window) {
    for (int wait = 0; wait < 250 && IsWindow(window) && IsWindowVisible(window); ++wait) {
      Sleep(20);
    }
    return !IsWindow(window) || !IsWindowVisible(window);
  }

  // Every page shown once, so that every control exists.
  std::vector<std::string> DisabledControls() {
    for (int tab : {1, 2, 3, 4, 0}) {
      window_->ShowTab(MainTabControl, tab);
    }
    std::vector<std::string> names;
    for (const auto& row : MainWindowLayout().controls) {
      if (!window_->Enabled(row.id)) {
        names.emplace_back(row.name);
      }
    }
    return names;
  }

  std::string exe_;
  std::string demo_;
  std::unique_ptr<RunningProgram> program_;
  std::optional<RemoteWindow> window_;
};

TEST_F(EndToEnd, DefaultDemoShowsA32BitOutlook2010AndItsSettings) {
  Import("outlook2010-32");
  Start();
  EXPECT_EQ("Microsoft Outlook 2010 (32-bit)", window_->Text(pOutlookVersion));
  EXPECT_THAT(DisabledControls(), testing::UnorderedElementsAre("btnBrowse6", "cbShowClipboard"));
  EXPECT_EQ(GetSysColor(COLOR_WINDOW),
            window_->InnerColour(edDocCachePath, GetSysColor(COLOR_WINDOW)));
  EXPECT_EQ("C:\\users\\Public\\Documents\\Outlook Files\\", window_->Text(edPSTPath));
  EXPECT_EQ("C:\\users\\Public\\Documents\\Outlook Attachments\\", window_->Text(edAttachmentPath));
  EXPECT_EQ("C:\\users\\Public\\Documents\\Office Cache\\", window_->Text(edDocCachePath));
  std::vector<std::string> ticked;
  for (const auto& row : MainWindowLayout().controls) {
    if (row.kind == ControlKind::CheckBox && window_->Checked(row.id)) {
      ticked.emplace_back(row.name);
    }
  }
  EXPECT_THAT(ticked, testing::UnorderedElementsAre("cbMinToSysTray", "cbEnableDEP", "cbDumpster",
                                                    "cbIMAP", "cbHTTP"));
  EXPECT_THAT(window_->Items(lbAllowed), testing::ElementsAre("exe", "mdb", "url"));
  EXPECT_EQ(73u, window_->Items(lbBlocked).size());
}

TEST_F(EndToEnd, SixtyFourBitOnlyDemoShowsA64BitOutlook2013AndItsSettings) {
  Import("outlook2013-64");
  Start();
  EXPECT_EQ("Microsoft Outlook 2013 (64-bit)", window_->Text(pOutlookVersion));
  EXPECT_THAT(DisabledControls(),
              testing::UnorderedElementsAre("btnRevert", "btnBrowse6", "cbShowClipboard"));
  EXPECT_EQ("C:\\users\\Public\\Documents\\", window_->Text(edPSTPath));
  EXPECT_TRUE(window_->Checked(cbBGSave));
  EXPECT_TRUE(window_->Checked(cbPOP3));
  EXPECT_THAT(window_->Items(lbAllowed), testing::ElementsAre("pst", "vsmacros"));
}

TEST_F(EndToEnd, Outlook2000On32BitWindowsLacksTenControls) {
  Import("outlook2000-32bit-windows");
  Start();
  EXPECT_EQ("Microsoft Outlook 2000 (32-bit)", window_->Text(pOutlookVersion));
  EXPECT_THAT(DisabledControls(),
              testing::UnorderedElementsAre(
                  "btnRevert", "btnBrowse6", "edDocCachePath", "btnBrowse5", "cbEnableDEP",
                  "cbDisablePST", "cbPOP3", "cbIMAP", "cbExchange", "cbHTTP", "cbOther",
                  "cbReadAsPlain", "cbSaveMIME", "edOSTPath", "btnBrowse4"));
  window_->ShowTab(MainTabControl, 3);
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), window_->InnerColour(edOSTPath, GetSysColor(COLOR_WINDOW)));
}

TEST_F(EndToEnd, NoOutlookDisablesTheWindowAndPaintsFieldsSilver) {
  Import("no-outlook");
  Start();
  EXPECT_EQ(kNotInstalledText, window_->Text(pOutlookVersion));
  EXPECT_EQ(39u, DisabledControls().size());
  EXPECT_TRUE(window_->Enabled(btnExit));
  EXPECT_TRUE(window_->Enabled(btnAbout));
  for (ControlId id : {edAttachmentPath, edPSTPath, edSaveAttPath, edDocCachePath}) {
    EXPECT_EQ(kSilver, window_->InnerColour(id, kSilver)) << id;
  }
  window_->ShowTab(MainTabControl, 3);
  EXPECT_EQ(kSilver, window_->InnerColour(edOSTPath, kSilver));
  window_->ShowTab(MainTabControl, 4);
  EXPECT_EQ(kSilver, window_->InnerColour(edArgument, kSilver));
}

TEST_F(EndToEnd, ExitAfterChangesWritesNothing) {
  Import("outlook2010-32");
  const std::string before = RegistryOfInterest();
  ASSERT_NE(std::string::npos, before.find("Bitness"));
  Start();
  window_->ShowTab(MainTabControl, 2);
  window_->Click(cbReadAsPlain);
  EXPECT_TRUE(window_->Checked(cbReadAsPlain));
  window_->ShowTab(MainTabControl, 0);
  window_->Type(edPSTPath, "D:\\Elsewhere\\");
  PostMessageA(window_->Control(btnExit), BM_CLICK, 0, 0);
  EXPECT_EQ(0u, program_->WaitForExit(10000).value_or(99));
  EXPECT_EQ(before, RegistryOfInterest());
}

TEST_F(EndToEnd, StartUpErrorIsShownAndTheWindowStillOpens) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Office\\15.0\\Outlook", 0,
                            nullptr, 0, KEY_WRITE | KEY_WOW64_32KEY, nullptr, &key, nullptr));
  const DWORD not_text = 64;
  RegSetValueExA(key, "Bitness", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&not_text), 4);
  RegCloseKey(key);
  Launch();
  auto box = RemoteWindow::WaitFor(*program_, "#32770", 60000);
  ASSERT_TRUE(box.has_value()) << "no error box";
  EXPECT_EQ("Invalid data type for 'Bitness'", box->MessageText());
  PostMessageA(box->Handle(), WM_COMMAND, IDOK, 0);
  WaitForMainWindow();
  EXPECT_EQ(kNotInstalledText, window_->Text(pOutlookVersion));
  EXPECT_FALSE(window_->Enabled(btnSave));
}

TEST_F(EndToEnd, MnemonicOfExitEndsTheProgram) {
  Import("outlook2010-32");
  Start();
  PostMessageA(window_->Handle(), WM_SYSCHAR, 'x', 1 << 29);
  EXPECT_EQ(0u, program_->WaitForExit(10000).value_or(99));
}

// The layout is in 96-DPI pixels; at 120 DPI every place and size grows by a quarter.
TEST_F(EndToEnd, LayoutScalesWithTheSystemDpi) {
  HKEY desktop = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr,
                                           0, KEY_WRITE, nullptr, &desktop, nullptr));
  const DWORD dpi = 120;
  RegSetValueExA(desktop, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), 4);
  Import("outlook2010-32");
  Start();
  const DWORD normal = 96;
  RegSetValueExA(desktop, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&normal), 4);
  RegCloseKey(desktop);
  const RECT client = window_->ClientRect(kNoControl);
  EXPECT_EQ(MulDiv(570, 120, 96), client.right);
  EXPECT_EQ(MulDiv(482, 120, 96), client.bottom);
  const RECT save = window_->ClientRect(btnSave);
  EXPECT_EQ(MulDiv(225, 120, 96), save.right);
  EXPECT_EQ(MulDiv(33, 120, 96), save.bottom);
}

// The user's changes, saved through the real message boxes, read back from the registry.
TEST_F(EndToEnd, SaveWritesWhatTheUserChanged) {
  Import("outlook2010-32");
  Start();
  window_->ShowTab(MainTabControl, 2);
  window_->Click(cbReadAsPlain);
  window_->ShowTab(MainTabControl, 3);
  window_->Click(cbIMAP);
  window_->ShowTab(MainTabControl, 1);
  window_->Select(lbBlocked, 6);  // bat
  window_->Click(btnAddOne);
  window_->ShowTab(MainTabControl, 0);
  SendMessageA(window_->Control(edPSTPath), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
  window_->Type(edPSTPath, "C:\\users\\Public\\Documents\\");

  const std::vector<std::string> messages = SaveAndAnswer();
  EXPECT_THAT(messages,
              testing::ElementsAre(
                  "Are you sure you want to make these changes?",
                  "The default path for opening attachments specified does not exist and will not "
                  "be saved.",
                  "The default path for the Office document cache specified does not exist and "
                  "will not be saved.",
                  "You must restart Outlook for these changes to take effect."));

  const std::string office = "Software\\Microsoft\\Office\\14.0\\";
  auto number = [&](const std::string& key, const char* name) {
    DWORD value = 99, size = sizeof(value);
    RegGetValueA(HKEY_CURRENT_USER, (office + key).c_str(), name, RRF_RT_REG_DWORD, nullptr, &value,
                 &size);
    return value;
  };
  auto text = [&](const std::string& key, const char* name) {
    char value[512] = {};
    DWORD size = sizeof(value);
    RegGetValueA(HKEY_CURRENT_USER, (office + key).c_str(), name, RRF_RT_REG_SZ, nullptr, value,
                 &size);
    return std::string(value);
  };
  EXPECT_EQ(1u, number("Outlook\\Options\\Mail", "ReadAsPlain"));
  EXPECT_EQ(0u, number("Outlook\\Options", "DisableIMAP"));
  EXPECT_EQ(1u, number("Outlook\\Options", "DisableHTTP"));
  EXPECT_EQ(1u, number("Common\\General", "AcbControl"));
  EXPECT_EQ(1u, number("Outlook\\Security", "EnableDEP"));
  EXPECT_EQ("C:\\users\\Public\\Documents\\", text("Outlook", "ForcePSTPath"));
  EXPECT_EQ("C:\\users\\Public\\Documents\\Offline Folders\\", text("Outlook", "ForceOSTPath"));
  EXPECT_EQ("exe;mdb;url;bat", text("Outlook\\Security", "Level1Remove"));
  EXPECT_EQ("C:\\users\\Public\\Documents\\Outlook Attachments\\",
            text("Outlook\\Security", "OutlookSecureTempFolder"));
}

// Outlook 2016 by Windows Installer: read and written below 16.0, and without the DEP
// setting, which 2016 and later do not have.
TEST_F(EndToEnd, Outlook2016IsSavedBelowItsOwnVersionWithoutDep) {
  Import("outlook2016-32");
  Start();
  EXPECT_EQ("Microsoft Outlook 2016 (32-bit)", window_->Text(pOutlookVersion));
  EXPECT_THAT(DisabledControls(), testing::UnorderedElementsAre("btnRevert", "btnBrowse6",
                                                                "cbShowClipboard", "cbEnableDEP"));
  EXPECT_TRUE(window_->Checked(cbPOP3));
  window_->ShowTab(MainTabControl, 2);
  window_->Click(cbReadAsPlain);
  const std::vector<std::string> messages = SaveAndAnswer();
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ("You must restart Outlook for these changes to take effect.", messages.back());
  DWORD value = 99, size = sizeof(value);
  EXPECT_EQ(ERROR_SUCCESS, RegGetValueA(HKEY_CURRENT_USER,
                                        "Software\\Microsoft\\Office\\16.0\\Outlook\\Options\\Mail",
                                        "ReadAsPlain", RRF_RT_REG_DWORD, nullptr, &value, &size));
  EXPECT_EQ(1u, value);
  EXPECT_NE(ERROR_SUCCESS,
            RegGetValueA(HKEY_CURRENT_USER, "Software\\Microsoft\\Office\\16.0\\Outlook\\Security",
                         "EnableDEP", RRF_RT_ANY, nullptr, nullptr, nullptr));
}

// Outlook launched for real: a stand-in OUTLOOK.EXE in the install folder records how it
// was started.
class EndToEndLaunch : public EndToEnd {
 protected:
  // Ends every stand-in, found by its image name as the program looks for it.
  void TearDown() override {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot, &entry); more;
         more = Process32Next(snapshot, &entry)) {
      const std::string image = entry.szExeFile;
      if (image == "OUTLOOK.EXE" || image == "ScanPST.exe" || image == "SCANPST.EXE") {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID);
        TerminateProcess(process, 0);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
      }
    }
    CloseHandle(snapshot);
  }

  // Copies the stand-in into `folder` (a Windows path ending in a backslash).
  void InstallStandIn(const std::string& folder, const std::string& name = "OUTLOOK.EXE") {
    folder_ = folder;
    for (std::size_t at = folder.find('\\', 3); at != std::string::npos;
         at = folder.find('\\', at + 1)) {
      CreateDirectoryA(folder.substr(0, at).c_str(), nullptr);
    }
    ASSERT_TRUE(CopyFileA(WindowsPath(FromEnvironment("TARNWELL_STANDIN")).c_str(),
                          (folder + name).c_str(), FALSE));
    DeleteFileA((folder + "command-lines.txt").c_str());
  }

  void Choose(int row, const std::string& argument = {}) {
    window_->ShowTab(MainTabControl, 4);
    HWND list = window_->Control(lbCLOptions);
    SendMessageA(list, LB_SETCURSEL, row, 0);
    SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(lbCLOptions, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    if (!argument.empty()) {
      SendMessageA(window_->Control(edArgument), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(argument.c_str()));
    }
  }

  // Presses "&Launch Outlook" and returns the command line the stand-in was started with.
  std::string LaunchAndRecord() {
    PostMessageA(window_->Control(btnLaunchOutlook), BM_CLICK, 0, 0);
    const std::vector<std::string> lines = Records(1);
    return lines.empty() ? "(not started)" : lines.front();
  }

  // The command lines the stand-ins recorded, once there are at least `lines` of them (or
  // after ten seconds).
  std::vector<std::string> Records(std::size_t lines) const {
    std::vector<std::string> records;
    for (int wait = 0; wait < 500 && records.size() < lines; ++wait, Sleep(20)) {
      records.clear();
      std::ifstream in(folder_ + "command-lines.txt");
      for (std::string line; std::getline(in, line);) {
        records.push_back(line.substr(0, line.find_last_not_of("\r") + 1));
      }
    }
    return records;
  }

  std::string folder_;
};

TEST_F(EndToEndLaunch, SwitchAloneTextArgumentAndFileWithBlanks) {
  Import("outlook2010-32");
  InstallStandIn("C:\\Program Files (x86)\\Microsoft Office\\Office14\\");
  Start();
  const std::string program =
      "\"C:\\Program Files (x86)\\Microsoft Office\\Office14\\OUTLOOK.EXE\" ";

  Choose(59);  // /safe:1
  EXPECT_EQ(program + "/safe:1", LaunchAndRecord());
  TearDown();
  DeleteFileA((folder_ + "command-lines.txt").c_str());

  Choose(42, "Home Office");  // /profile <profilename>
  EXPECT_EQ(program + "/profile Home Office", LaunchAndRecord());
  TearDown();
  DeleteFileA((folder_ + "command-lines.txt").c_str());

  CreateDirectoryA("C:\\users\\Public\\Documents\\My Macros", nullptr);
  const std::string macros = "C:\\users\\Public\\Documents\\My Macros\\Vba Project.otm";
  CloseHandle(CreateFileA(macros.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  Choose(1, macros);  // /altvba <otmfilename>
  EXPECT_EQ(program + "/altvba \"" + macros + "\"", LaunchAndRecord());
}

// Outlook of Microsoft 365 by Click-to-Run, the default demo: found by its configuration
// and its program, its settings shown, and Outlook started from its own folder.
TEST_F(EndToEndLaunch, ClickToRunShowsItsSettingsAndStartsItsOwnOutlook) {
  Import("outlook365-c2r-64");
  InstallStandIn("C:\\Program Files\\Microsoft Office\\root\\Office16\\");
  Start();
  EXPECT_EQ("Microsoft Outlook for Microsoft 365 (64-bit)", window_->Text(pOutlookVersion));
  EXPECT_THAT(DisabledControls(),
              testing::UnorderedElementsAre("btnBrowse6", "cbShowClipboard", "cbEnableDEP"));
  EXPECT_EQ("C:\\users\\Public\\Documents\\Outlook Files\\", window_->Text(edPSTPath));
  EXPECT_THAT(window_->Items(lbAllowed), testing::ElementsAre("exe", "mdb", "url"));
  Choose(59);
  EXPECT_EQ("\"C:\\Program Files\\Microsoft Office\\root\\Office16\\OUTLOOK.EXE\" /safe:1",
            LaunchAndRecord());
}

TEST_F(EndToEndLaunch, RefusedWhileOutlookRuns) {
  Import("outlook2010-32");
  InstallStandIn("C:\\Program Files (x86)\\Microsoft Office\\Office14\\");
  RunningProgram outlook("\"" + folder_ + "OUTLOOK.EXE\" /already");
  ASSERT_TRUE(outlook.Started());
  ASSERT_EQ(1u, Records(1).size()) << "the running Outlook did not start";
  Start();
  Choose(58);  // /safe
  PostMessageA(window_->Control(btnLaunchOutlook), BM_CLICK, 0, 0);
  auto box = RemoteWindow::WaitFor(*program_, "#32770", 10000);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ("Microsoft Outlook is currently running. Please close the application and try again.",
            box->MessageText());
  PostMessageA(box->Handle(), WM_COMMAND, IDOK, 0);
  EXPECT_THAT(Records(1), testing::ElementsAre(testing::EndsWith("/already")));
}

TEST_F(EndToEndLaunch, SixtyFourBitOutlookIsStartedByItsPathInQuotes) {
  Import("outlook2013-64");
  InstallStandIn("C:\\Program Files\\Microsoft Office\\Office15\\");
  Start();
  Choose(59);
  EXPECT_EQ("\"C:\\Program Files\\Microsoft Office\\Office15\\OUTLOOK.EXE\" /safe:1",
            LaunchAndRecord());
}

TEST_F(EndToEndLaunch, On32BitWindowsTheShellStartsOutlook) {
  Import("outlook2000-32bit-windows");
  InstallStandIn("C:\\Program Files (x86)\\Microsoft Office\\Office\\");
  Start();
  Choose(59);
  EXPECT_EQ("\"C:\\Program Files (x86)\\Microsoft Office\\Office\\OUTLOOK.EXE\" /safe:1",
            LaunchAndRecord());
}

TEST_F(EndToEnd, CloseBoxEndsTheProgram) {
  Import("outlook2010-32");
  Start();
  PostMessageA(window_->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(0u, program_->WaitForExit(10000).value_or(99));
}

// A folder chosen in the picker's real shell tree is saved like a typed one.
TEST_F(EndToEnd, BrowsedPstPathIsSavedThroughTheRealMessageBoxes) {
  Import("outlook2010-32");
  CreateDirectoryA("C:\\Browsed Mail", nullptr);
  Start();
  PostMessageA(window_->Control(btnBrowse2), BM_CLICK, 0, 0);
  auto picker = RemoteWindow::WaitFor(*program_, "TarnwellTForm4", 20000);
  ASSERT_TRUE(picker.has_value()) << "no folder picker";
  RemoteTree tree(picker->Control(tform4::JamShellTree1), program_->Id());
  HTREEITEM computer = tree.Child(tree.Root(), "My Computer");
  HTREEITEM folder = tree.Child(tree.Child(computer, " (C:)"), "Browsed Mail");
  ASSERT_NE(nullptr, folder);
  tree.DoubleClick(folder);
  EXPECT_TRUE(WaitUntilGone(picker->Handle())) << "the picker stays open";
  EXPECT_EQ("C:\\Browsed Mail\\", window_->Text(edPSTPath));

  SaveAndAnswer();
  char saved[MAX_PATH] = {};
  DWORD size = sizeof(saved);
  RegGetValueA(HKEY_CURRENT_USER, "Software\\Microsoft\\Office\\14.0\\Outlook", "ForcePSTPath",
               RRF_RT_REG_SZ, nullptr, saved, &size);
  EXPECT_STREQ("C:\\Browsed Mail\\", saved);
}

TEST_F(EndToEnd, PlaceAddedAndRemovedThroughTheTwoWindows) {
  Import("outlook2010-32");
  CreateDirectoryA("C:\\Receipts", nullptr);
  Start();
  window_->ShowTab(MainTabControl, 2);
  PostMessageA(window_->Control(btnCustomPlaces), BM_CLICK, 0, 0);
  auto places = RemoteWindow::WaitFor(*program_, "TarnwellForm5", 20000);
  ASSERT_TRUE(places.has_value());
  EXPECT_THAT(places->Items(form5::lbLocations),
              testing::ElementsAre("Projects", "Scanned Letters"));

  PostMessageA(places->Control(form5::btnAdd), BM_CLICK, 0, 0);
  auto entry = RemoteWindow::WaitFor(*program_, "TarnwellForm6", 20000);
  ASSERT_TRUE(entry.has_value());
  SendMessageA(entry->Control(form6::edLocName), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>("Receipts"));
  SendMessageA(entry->Control(form6::edLocPath), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>("C:\\Receipts\\"));
  PostMessageA(entry->Control(form6::btnAddToList), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitUntilGone(entry->Handle()));
  const std::string key =
      "Software\\Microsoft\\Office\\14.0\\Common\\Open Find\\Places\\UserDefinedPlaces\\Receipts";
  char path[MAX_PATH] = {};
  DWORD size = sizeof(path);
  EXPECT_EQ(ERROR_SUCCESS, RegGetValueA(HKEY_CURRENT_USER, key.c_str(), "Path", RRF_RT_REG_SZ,
                                        nullptr, path, &size));
  EXPECT_STREQ("C:\\Receipts\\", path);
  std::vector<std::string> listed;
  for (int wait = 0; wait < 100 && listed.size() != 3; ++wait) {
    Sleep(20);
    listed = places->Items(form5::lbLocations);
  }
  EXPECT_THAT(listed, testing::ElementsAre("Projects", "Receipts", "Scanned Letters"));

  places->Select(form5::lbLocations, 1);
  PostMessageA(places->Control(form5::btnRemove), BM_CLICK, 0, 0);
  auto question = RemoteWindow::WaitFor(*program_, "#32770", 10000);
  ASSERT_TRUE(question.has_value());
  EXPECT_EQ("Are you sure that you want to remove the custom location : [Receipts]?",
            question->MessageText());
  PostMessageA(question->Handle(), WM_COMMAND, IDYES, 0);
  WaitUntilGone(question->Handle());
  // The key goes once the answer has reached the program.
  LSTATUS opened = ERROR_SUCCESS;
  for (int wait = 0; wait < 250 && opened == ERROR_SUCCESS; ++wait, Sleep(20)) {
    HKEY removed = nullptr;
    opened = RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &removed);
    RegCloseKey(removed);
  }
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, opened);
  EXPECT_THAT(places->Items(form5::lbLocations),
              testing::ElementsAre("Projects", "Scanned Letters"));
}

// The repair tool that Word's InstallRoot names, opened by the shell: a stand-in there
// records that it ran.
TEST_F(EndToEndLaunch, RepairToolOfTheInstallFolderIsStarted) {
  Import("outlook2010-32");
  InstallStandIn("C:\\Program Files (x86)\\Microsoft Office\\Office14\\", "ScanPST.exe");
  Start();
  window_->ShowTab(MainTabControl, 2);
  PostMessageA(window_->Control(btnScanPST), BM_CLICK, 0, 0);
  const std::vector<std::string> started = Records(1);
  ASSERT_EQ(1u, started.size()) << "the repair tool was not started";
  EXPECT_THAT(started[0], testing::HasSubstr(folder_ + "ScanPST.exe"));
}

// Click-to-Run: the repair tool beside its OUTLOOK.EXE, and in the add-ins window the
// user's add-ins, then those of all users and of Click-to-Run's own branch.
TEST_F(EndToEndLaunch, ClickToRunRepairToolAndAddinsOfAllUsers) {
  Import("outlook365-c2r-64");
  const std::string office = "C:\\Program Files\\Microsoft Office\\root\\Office16\\";
  InstallStandIn(office);
  InstallStandIn(office, "SCANPST.EXE");
  Start();
  window_->ShowTab(MainTabControl, 2);
  PostMessageA(window_->Control(btnScanPST), BM_CLICK, 0, 0);
  const std::vector<std::string> started = Records(1);
  ASSERT_EQ(1u, started.size()) << "the repair tool was not started";
  EXPECT_THAT(started[0], testing::HasSubstr(office + "SCANPST.EXE"));

  PostMessageA(window_->Control(btnAddins), BM_CLICK, 0, 0);
  auto addins = RemoteWindow::WaitFor(*program_, "TarnwellForm7", 10000);
  ASSERT_TRUE(addins.has_value()) << "no add-ins window";
  EXPECT_THAT(addins->Items(form7::lbAddins),
              testing::ElementsAre("Mail Filer", "Contoso Archive (all users)",
                                   "Fabrikam Meetings (all users)"));
}

// The file-name field of a common file dialog: an Edit inside a ComboBoxEx32 of one id.
BOOL CALLBACK FindFileNameField(HWND child, LPARAM found) {
  char kind[32] = {};
  GetClassNameA(child, kind, sizeof(kind));
  if (GetDlgCtrlID(child) == 0x47C && _stricmp(kind, "Edit") == 0) {
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
  }
  return TRUE;
}

HWND FileNameField(HWND dialog) {
  HWND field = nullptr;
  EnumChildWindows(dialog, FindFileNameField, reinterpret_cast<LPARAM>(&field));
  return field;
}

// The mail profiles exported by Wine's own Registry Editor, through the real confirmation,
// save dialog and result message.
// Outlook 2010 keeps its mail profiles below Windows Messaging Subsystem, 2013 and later
// below their own Office key: each is exported by the real registry editor.
TEST_F(EndToEnd, ProfilesAreExportedByTheRegistryEditor) {
  for (auto [installation, profiles] :
       {std::pair{"outlook2010-32",
                  "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows "
                  "NT\\CurrentVersion\\Windows Messaging Subsystem\\Profiles"},
        std::pair{"outlook2013-64",
                  "HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\15.0\\Outlook\\Profiles"}}) {
    SCOPED_TRACE(installation);
    SetUp();
    Import(installation);
    const std::string file = "C:\\users\\Public\\Documents\\profile backup.reg";
    DeleteFileA(file.c_str());
    Start();
    window_->ShowTab(MainTabControl, 2);
    PostMessageA(window_->Control(btnSaveUserInfo), BM_CLICK, 0, 0);
    auto question = RemoteWindow::WaitFor(*program_, "#32770", 10000);
    ASSERT_TRUE(question.has_value());
    PostMessageA(question->Handle(), WM_COMMAND, IDYES, 0);
    WaitUntilGone(question->Handle());

    auto dialog = RemoteWindow::WaitFor(*program_, "#32770", 20000);
    ASSERT_TRUE(dialog.has_value()) << "no save dialog";
    char title[128] = {};
    GetWindowTextA(dialog->Handle(), title, sizeof(title));
    EXPECT_STREQ("Save Outlook User Information", title);
    HWND name = FileNameField(dialog->Handle());
    ASSERT_NE(nullptr, name);
    char proposed[MAX_PATH] = {};
    SendMessageA(name, WM_GETTEXT, sizeof(proposed), reinterpret_cast<LPARAM>(proposed));
    EXPECT_THAT(proposed, testing::StartsWith("OutlookUserBackup-20"));
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
    PostMessageA(dialog->Handle(), WM_COMMAND, IDOK, 0);
    WaitUntilGone(dialog->Handle());

    auto result = RemoteWindow::WaitFor(*program_, "#32770", 70000);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ("Microsoft Outlook user information successfully saved!", result->MessageText());
    PostMessageA(result->Handle(), WM_COMMAND, IDOK, 0);
    WaitUntilGone(result->Handle());
    PostMessageA(window_->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, program_->WaitForExit(10000).value_or(99));

    // The editor writes UTF-16 with a byte-order mark.
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 2u);
    std::string text;
    for (std::size_t at = 2; at + 1 < bytes.size(); at += 2) {
      text += bytes[at];
    }
    std::vector<std::string> lines;
    std::istringstream split(text);
    for (std::string line; std::getline(split, line);) {
      line = line.substr(0, line.find_last_not_of("\r") + 1);
      if (!line.empty()) {
        lines.push_back(line);
      }
    }
    EXPECT_THAT(lines, testing::ElementsAre("Windows Registry Editor Version 5.00",
                                            "[" + std::string(profiles) + "]",
                                            "[" + std::string(profiles) + "\\Outlook]",
                                            "\"DefaultProfile\"=\"Outlook\""));
  }
}

// The help button opens the guide beside the program through the shell, here with a
// stand-in registered as the program for .pdf files; a copy of the program without the
// guide beside it says so.
TEST_F(EndToEndLaunch, HelpOpensTheGuideBesideTheProgramOrWarns) {
  Import("outlook2010-32");
  InstallStandIn("C:\\Help Viewer\\");
  const std::pair<const char*, std::string> classes[] = {
      {"Software\\Classes\\.pdf", "TarnwellTestPdf"},
      {"Software\\Classes\\TarnwellTestPdf\\shell\\open\\command",
       "\"" + folder_ + "OUTLOOK.EXE\" \"%1\""}};
  for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
    for (const auto& [path, text] : classes) {
      HKEY key = nullptr;
      ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0,
                                               KEY_WRITE | view, nullptr, &key, nullptr));
      RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>(text.size() + 1));
      RegCloseKey(key);
    }
  }
  Start();
  PostMessageA(window_->Control(btnHelp), BM_CLICK, 0, 0);
  const std::vector<std::string> opened = Records(1);
  ASSERT_EQ(1u, opened.size()) << "the guide was not opened";
  EXPECT_THAT(opened[0], testing::HasSubstr("tarnwell-help.pdf"));
  PostMessageA(window_->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(0u, program_->WaitForExit(10000).value_or(99));

  CreateDirectoryA("C:\\Lone", nullptr);
  ASSERT_TRUE(CopyFileA(WindowsPath(exe_).c_str(), "C:\\Lone\\tarnwell.exe", FALSE));
  Start("C:\\Lone\\tarnwell.exe");
  PostMessageA(window_->Control(btnHelp), BM_CLICK, 0, 0);
  auto box = RemoteWindow::WaitFor(*program_, "#32770", 10000);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(
      "The help file (tarnwell-help.pdf) cannot be found.  It should be located where the "
      "application is installed.",
      box->MessageText());
  PostMessageA(box->Handle(), WM_COMMAND, IDOK, 0);
}

// Pieces of the allow list that no list shows, written by another tool, outlive a save
// that changed something elsewhere.
TEST_F(EndToEnd, SaveKeepsTheAllowListPiecesNoListShows) {
  Import("outlook2010-32");
  const char* security = "Software\\Microsoft\\Office\\14.0\\Outlook\\Security";
  const char stored[] = "EXE;.bat; com;zip";
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, security, 0, KEY_WRITE, &key));
  RegSetValueExA(key, "Level1Remove", 0, REG_SZ, reinterpret_cast<const BYTE*>(stored),
                 sizeof(stored));
  RegCloseKey(key);
  Start();
  window_->ShowTab(MainTabControl, 1);
  EXPECT_EQ(76u, window_->Items(lbBlocked).size());
  EXPECT_THAT(window_->Items(lbAllowed), testing::IsEmpty());
  window_->ShowTab(MainTabControl, 2);
  window_->Click(cbReadAsPlain);
  SaveAndAnswer();
  char saved[256] = {};
  DWORD size = sizeof(saved);
  RegGetValueA(HKEY_CURRENT_USER, security, "Level1Remove", RRF_RT_REG_SZ, nullptr, saved, &size);
  EXPECT_STREQ(stored, saved);
}

// The backup of a save through the real message boxes: Windows' own reg.exe, importing it
// in the 64-bit view, puts back every value as it was, a missing one deleted again, one of
// another type with its own type, and the machine-wide one in its 64-bit branch.
TEST_F(EndToEnd, BackupOfASaveIsPutBackByRegImport) {
  Import("outlook2010-32");
  const std::string office = "Software\\Microsoft\\Office\\14.0\\";
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            RegOpenKeyExA(HKEY_CURRENT_USER, (office + "Outlook").c_str(), 0, KEY_WRITE, &key));
  RegDeleteValueA(key, "DisablePST");
  RegCloseKey(key);
  ASSERT_EQ(ERROR_SUCCESS,
            RegOpenKeyExA(HKEY_CURRENT_USER, (office + "Outlook\\Options\\Mail").c_str(), 0,
                          KEY_WRITE, &key));
  const char plain[] = "0";
  RegSetValueExA(key, "ReadAsPlain", 0, REG_SZ, reinterpret_cast<const BYTE*>(plain),
                 sizeof(plain));
  RegCloseKey(key);
  char app_data[MAX_PATH] = {};
  ASSERT_NE(0u, GetEnvironmentVariableA("LOCALAPPDATA", app_data, MAX_PATH));
  const std::string folder = std::string(app_data) + "\\Tarnwell\\Backups";
  const auto backups = [&folder] {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((folder + "\\Tarnwell-backup-*.reg").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
      names.push_back(folder + "\\" + found.cFileName);
    }
    FindClose(search);
    return names;
  };
  for (const std::string& earlier : backups()) {  // from the saves of other tests
    DeleteFileA(earlier.c_str());
  }
  const std::string before = RegistryOfInterest();

  Start();
  window_->ShowTab(MainTabControl, 2);
  window_->Click(cbReadAsPlain);
  window_->Click(cbDumpster);
  const std::vector<std::string> messages = SaveAndAnswer();
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ("You must restart Outlook for these changes to take effect.", messages.back());
  ASSERT_NE(before, RegistryOfInterest());

  const std::vector<std::string> written = backups();
  ASSERT_EQ(1u, written.size()) << "one backup in " << folder;
  RunningProgram reg("reg.exe import \"" + written[0] + "\" /reg:64");
  ASSERT_TRUE(reg.Started());
  ASSERT_EQ(0u, reg.WaitForExit(30000).value_or(99));
  EXPECT_EQ(before, RegistryOfInterest());

  // The same through the program: a second save, then its backup restored from the system
  // menu, which backs up the state it replaces first.
  Start();
  window_->ShowTab(MainTabControl, 2);
  window_->Click(cbReadAsPlain);
  SaveAndAnswer();
  ASSERT_NE(before, RegistryOfInterest());
  std::string second;
  for (const std::string& name : backups()) {
    if (name != written[0]) {
      second = name;
    }
  }
  ASSERT_FALSE(second.empty()) << "no backup of the second save";
  Start();
  PostMessageA(window_->Handle(), WM_SYSCOMMAND, miRestoreBackup, 0);
  auto dialog = RemoteWindow::WaitFor(*program_, "#32770", 20000);
  ASSERT_TRUE(dialog.has_value()) << "no open dialog";
  SendMessageA(FileNameField(dialog->Handle()), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(second.c_str()));
  PostMessageA(dialog->Handle(), WM_COMMAND, IDOK, 0);
  WaitUntilGone(dialog->Handle());
  auto question = RemoteWindow::WaitFor(*program_, "#32770", 20000);
  ASSERT_TRUE(question.has_value());
  EXPECT_THAT(question->MessageText(), testing::StartsWith("Restore "));
  PostMessageA(question->Handle(), WM_COMMAND, IDYES, 0);
  WaitUntilGone(question->Handle());
  auto done = RemoteWindow::WaitFor(*program_, "#32770", 20000);
  ASSERT_TRUE(done.has_value());
  EXPECT_THAT(done->MessageText(), testing::StartsWith("The settings were restored."));
  PostMessageA(done->Handle(), WM_COMMAND, IDOK, 0);
  EXPECT_EQ(0u, program_->WaitForExit(10000).value_or(99));
  EXPECT_EQ(before, RegistryOfInterest());
  EXPECT_EQ(3u, backups().size()) << "the restore backs up first";
}

// Settings exported here and imported by reg.exe where Outlook's keys are empty: every value
// the import sets is the one a save here writes. (The export writes every value, as if each
// field had changed: the attachment folder is changed here too, so that the save writes it
// and the previous one as well.)
TEST_F(EndToEnd, ExportedSettingsImportedElsewhereAreWhatASaveWrites) {
  Import("outlook2010-32");
  const std::string file = "C:\\users\\Public\\Documents\\exported settings.reg";
  DeleteFileA(file.c_str());
  Start();
  SendMessageA(window_->Control(edAttachmentPath), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
  window_->Type(edAttachmentPath, "C:\\users\\Public\\Documents\\");
  window_->ShowTab(MainTabControl, 2);
  window_->Click(cbReadAsPlain);
  PostMessageA(window_->Handle(), WM_SYSCOMMAND, miExportSettings, 0);
  auto dialog = RemoteWindow::WaitFor(*program_, "#32770", 20000);
  ASSERT_TRUE(dialog.has_value()) << "no save dialog";
  SendMessageA(FileNameField(dialog->Handle()), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(file.c_str()));
  PostMessageA(dialog->Handle(), WM_COMMAND, IDOK, 0);
  WaitUntilGone(dialog->Handle());
  auto done = RemoteWindow::WaitFor(*program_, "#32770", 20000);
  ASSERT_TRUE(done.has_value());
  EXPECT_EQ("The settings were exported to " + file + ".", done->MessageText());
  PostMessageA(done->Handle(), WM_COMMAND, IDOK, 0);
  WaitUntilGone(done->Handle());
  SaveAndAnswer();
  const std::string office = "Software\\Microsoft\\Office";
  const auto lines = [&office] {
    std::set<std::string> values;
    std::istringstream in(RegistrySnapshot(HKEY_CURRENT_USER, 0, office));
    std::string key;
    for (std::string line; std::getline(in, line);) {
      if (line.starts_with("[")) {
        key = line;
      } else {
        values.insert(key + line);
      }
    }
    return values;
  };
  const std::set<std::string> saved = lines();
  DeleteTree(HKEY_CURRENT_USER, 0, "Software\\Microsoft", "Office");
  RunningProgram reg("reg.exe import \"" + file + "\"");
  ASSERT_TRUE(reg.Started());
  ASSERT_EQ(0u, reg.WaitForExit(30000).value_or(99));
  const std::set<std::string> imported = lines();
  EXPECT_GE(imported.size(), 15u);
  for (const std::string& value : imported) {
    EXPECT_TRUE(saved.count(value)) << value;
  }
}

}  // namespace
}  // namespace tarnwell

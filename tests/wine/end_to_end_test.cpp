// tarnwell.exe itself, started in a Wine prefix seeded from the demo installations, driven
// from outside through its windows, its message boxes and the programs it starts.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <gmock/gmock.h>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/win32/win32_file_system.h"
#include "ui/main_layout.h"
#include "windows/main_window.h"
#include "wine/remote_window.h"

namespace tarnwell {
namespace {

using namespace tform1;
using namespace std::string_literals;

const std::string kDocuments = "C:\\users\\Public\\Documents\\";

std::string FromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// A file's text; one in UTF-16 with a BOM, as the registry editor writes, made ANSI.
std::string FileText(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::string text{std::istreambuf_iterator<char>(in), {}}, narrow;
  for (std::size_t at = 2; text.starts_with("\xFF\xFE") && at < text.size(); at += 2) {
    narrow += text[at];
  }
  return narrow.empty() ? text : narrow;
}

void RegImport(const std::string& file, const std::string& view = " /reg:64") {
  RunningProgram reg("reg.exe import \"" + file + "\"" + view);
  ASSERT_EQ(0u, reg.WaitForExit(30000).value_or(99)) << file;
}

// The values below Outlook's keys, each with its key: what a save writes and a backup puts
// back (neither takes away a key that a save made).
std::set<std::string> RegistryOfInterest() {
  std::set<std::string> values;
  std::istringstream in(
      RegistrySnapshot(HKEY_CURRENT_USER, 0, "Software\\Microsoft\\Office") +
      RegistrySnapshot(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, "Software\\Microsoft\\Office") +
      RegistrySnapshot(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, "Software\\Microsoft\\Office") +
      RegistrySnapshot(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, "Software\\Microsoft\\Exchange"));
  std::string key;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("[")) {
      key = line;
    } else {
      values.insert(key + line);
    }
  }
  return values;
}

class EndToEnd : public testing::Test {
 protected:
  // Back to a 64-bit Windows without Outlook, then a demo installation, whose key names mean
  // the 64-bit view.
  void Install(const std::string& installation) {
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
    RegImport(WindowsPath(FromEnvironment("TARNWELL_DEMO") + "/" + installation + ".reg"));
  }

  void Start(bool wait = true) {
    program_ = std::make_unique<RunningProgram>(
        "\"" + WindowsPath(FromEnvironment("TARNWELL_EXE")) + "\"");
    window_ = wait ? RemoteWindow::WaitFor(*program_, "TarnwellTForm1", 60000) : std::nullopt;
    ASSERT_TRUE(window_.has_value() || !wait) << "the main window did not appear";
  }

  // Waits for the next dialog or message box, puts `file` into the file-name field of a file
  // dialog when given, answers with `button` and returns the message; nothing when none came.
  std::optional<std::string> Answer(int button, const std::string& file = {}, DWORD wait = 20000) {
    auto box = RemoteWindow::WaitFor(*program_, "#32770", wait);
    if (!box) {
      return std::nullopt;
    }
    if (!file.empty()) {
      SendMessageA(box->Control(0x47C), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
    }
    const std::string message = box->MessageText();
    PostMessageA(box->Handle(), WM_COMMAND, button, 0);
    box->WaitUntilGone();
    return message;
  }

  // Presses "&Save and Close", answers Yes to the confirmation and OK to every message after
  // it until the program ends; returns the messages.
  std::vector<std::string> SaveAndAnswer() {
    window_->Press(btnSave);
    std::vector<std::string> messages;
    while (auto message = Answer(messages.empty() ? IDYES : IDOK, {}, 10000)) {
      messages.push_back(*message);
    }
    EXPECT_EQ(0u, program_->WaitForExit(10000).value_or(99));
    return messages;
  }

  std::unique_ptr<RunningProgram> program_;
  std::optional<RemoteWindow> window_;
};

// A save through the real message boxes on each read path, its values found in the view
// they belong to; the backup it wrote, imported by reg.exe, puts back every value as it was.
TEST_F(EndToEnd, SaveOnEachReadPathAndItsBackupPutBackByRegImport) {
  struct Row {
    const char* installation;
    const char* version;
    std::vector<std::pair<int, ControlId>> clicks;  // tab, check box
    std::vector<std::string> written;
  };
  const Row rows[] = {
      {"outlook2010-32",
       "Microsoft Outlook 2010 (32-bit)",
       {{2, cbReadAsPlain}, {3, cbDumpster}},
       {"[Software\\Microsoft\\Office\\14.0\\Outlook\\Options\\Mail]ReadAsPlain=4:\x01\0\0\0"s,
        "[Software\\Microsoft\\Exchange\\Client\\Options]DumpsterAlwaysOn=4:\0\0\0\0"s}},
      {"outlook2013-64",
       "Microsoft Outlook 2013 (64-bit)",
       {{3, cbBGSave}},
       {"[Software\\Microsoft\\Office\\15.0\\Outlook]DisableBGSave=4:\0\0\0\0"s}},
      {"outlook2000-32bit-windows",
       "Microsoft Outlook 2000 (32-bit)",
       {{3, cbBGSave}},
       {"[Software\\Microsoft\\Office\\9.0\\Outlook]DisableBGSave=4:\x01\0\0\0"s}},
  };
  Win32FileSystem files;
  const std::string backups = files.LocalAppDataFolder() + "Tarnwell\\Backups\\";
  for (const Row& row : rows) {
    SCOPED_TRACE(row.installation);
    Install(row.installation);
    for (const std::string& earlier : files.FileNames(backups)) {
      files.RemoveFile(backups + earlier);
    }
    const auto before = RegistryOfInterest();
    Start();
    EXPECT_EQ(row.version, window_->Text(pOutlookVersion));
    for (const auto& [tab, box] : row.clicks) {
      window_->ShowTab(MainTabControl, tab);
      window_->Click(box);
    }
    const std::vector<std::string> messages = SaveAndAnswer();
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ("Are you sure you want to make these changes?", messages.front());
    EXPECT_EQ("You must restart Outlook for these changes to take effect.", messages.back());
    const auto after = RegistryOfInterest();
    for (const std::string& value : row.written) {
      EXPECT_EQ(1u, after.count(value)) << value;
    }
    const std::vector<std::string> written = files.FileNames(backups);
    ASSERT_EQ(1u, written.size()) << "one backup in " << backups;
    RegImport(backups + written[0]);
    EXPECT_EQ(before, RegistryOfInterest());
  }
}

TEST_F(EndToEnd, StartUpErrorIsShownAndTheWindowStillOpens) {
  Install("no-outlook");
  std::ofstream(kDocuments + "bad.reg")
      << "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Microsoft\\Office\\15.0\\Outlook]"
         "\n\"Bitness\"=dword:00000040\n";
  RegImport(kDocuments + "bad.reg");
  Start(false);
  EXPECT_EQ("Invalid data type for 'Bitness'", Answer(IDOK, {}, 60000));
  window_ = RemoteWindow::WaitFor(*program_, "TarnwellTForm1", 60000);
  ASSERT_TRUE(window_.has_value());
  EXPECT_EQ(kNotInstalledText, window_->Text(pOutlookVersion));
  EXPECT_FALSE(IsWindowEnabled(window_->Control(btnSave)));
}

// Outlook and its repair tool started for real: a stand-in, copied into the install folder
// as both, records how it was started.
TEST_F(EndToEnd, OutlookAndTheRepairToolAreStartedFromTheInstallFolder) {
  Install("outlook2010-32");
  const std::string folder = "C:\\Program Files (x86)\\Microsoft Office\\Office14\\";
  ASSERT_TRUE(Win32FileSystem().MakeFolders(folder));
  for (const char* name : {"OUTLOOK.EXE", "ScanPST.exe"}) {
    ASSERT_TRUE(CopyFileA(WindowsPath(FromEnvironment("TARNWELL_STANDIN")).c_str(),
                          (folder + name).c_str(), FALSE));
  }
  const auto records = [&folder](long lines) {
    std::string text;
    for (int wait = 0; wait < 500 && std::count(text.begin(), text.end(), '\n') < lines; ++wait) {
      Sleep(20);
      text = FileText(folder + "command-lines.txt");
    }
    return text;
  };
  Start();
  window_->ShowTab(MainTabControl, 4);
  HWND list = window_->Control(lbCLOptions);
  SendMessageA(list, LB_SETCURSEL, 59, 0);  // /safe:1
  SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(lbCLOptions, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
  window_->Press(btnLaunchOutlook);
  EXPECT_EQ("\"" + folder + "OUTLOOK.EXE\" /safe:1\r\n", records(1));
  window_->ShowTab(MainTabControl, 2);
  window_->Press(btnScanPST);
  EXPECT_THAT(records(2), testing::HasSubstr(folder + "ScanPST.exe"));
}

// The mail profiles exported by Wine's own registry editor, through the real confirmation,
// save dialog and result message; then changes left by Exit, which writes nothing.
TEST_F(EndToEnd, ProfilesExportedByTheRegistryEditorAndExitWritesNothing) {
  Install("outlook2013-64");
  const auto before = RegistryOfInterest();
  const std::string file = kDocuments + "profile backup.reg";
  const std::string profiles =
      "[HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\15.0\\Outlook\\Profiles";
  Start();
  window_->ShowTab(MainTabControl, 2);
  window_->Press(btnSaveUserInfo);
  Answer(IDYES);
  Answer(IDOK, file);
  EXPECT_EQ("Microsoft Outlook user information successfully saved!", Answer(IDOK, {}, 70000));
  EXPECT_EQ("Windows Registry Editor Version 5.00\r\n\r\n" + profiles + "]\r\n\r\n" + profiles +
                "\\Outlook]\r\n\"DefaultProfile\"=\"Outlook\"\r\n\r\n",
            FileText(file));
  window_->Click(cbReadAsPlain);
  window_->Type(edPSTPath, "D:\\Elsewhere\\");
  window_->Press(btnExit);
  EXPECT_EQ(0u, program_->WaitForExit(10000).value_or(99));
  EXPECT_EQ(before, RegistryOfInterest());
}

// Settings exported here and imported by reg.exe where Outlook's keys are empty: every value
// the import sets is one that a save here writes. (The export writes every value, the save
// the changed ones: the attachment folder changes too, so that it and the previous one are.)
TEST_F(EndToEnd, ExportedSettingsImportedByRegExeAreWhatASaveWrites) {
  Install("outlook2010-32");
  const std::string file = kDocuments + "exported settings.reg";
  Start();
  window_->Type(edAttachmentPath, kDocuments);
  window_->ShowTab(MainTabControl, 2);
  window_->Click(cbReadAsPlain);
  PostMessageA(window_->Handle(), WM_SYSCOMMAND, miExportSettings, 0);
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

// tarnwell.exe itself, started in a Wine prefix seeded from the demo installations, driven
// from outside through its windows, its message boxes and the programs it starts.
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <set>
#include <sstream>

#include "platform/win32/win32_file_system.h"
#include "windows/main_window.h"
#include "wine/remote_window.h"

namespace tarnwell {
namespace {

using namespace tform1;
using namespace std::string_literals;

const std::string kDocuments = "C:\\users\\Public\\Documents\\";

std::string FromEnvironment(const char* name) {
  return std::getenv(name) ? std::getenv(name) : "";
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
    RegImport(WindowsPath(FromEnvironment("TARNWELL_DEMO") + "/" + installation + ".reg"));
    if (!also.empty()) {
      RegImport(also);
    }
    before_ = RegistryOfInterest();
    program_ = std::make_unique<RunningProgram>(
        "\"" + WindowsPath(FromEnvironment("TARNWELL_EXE")) + "\"");
    window_ = RemoteWindow::WaitFor(*program_, "TarnwellTForm1", also.empty() ? 60000 : 0);
    ASSERT_TRUE(window_.handle || !also.empty()) << "the main window did not appear";
  }

  // Waits for the next dialog or message box, puts `file` into the file-name field of a file
  // dialog when given, answers with `button` and returns the message; nothing when none came.
  std::optional<std::string> Answer(int button, const std::string& file = {}, DWORD wait = 20000) {
    const RemoteWindow box = RemoteWindow::WaitFor(*program_, "#32770", wait);
    if (!box.handle) {
      return std::nullopt;
    }
    SendMessageA(box.Control(0x47C), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
    const std::string message = box.Text(0xFFFF);
    PostMessageA(box.handle, WM_COMMAND, button, 0);
    for (int wait = 0; wait < 250 && IsWindow(box.handle) && IsWindowVisible(box.handle); ++wait) {
      Sleep(20);
    }
    return message;
  }

  // Presses "&Save and Close", answers Yes to the confirmation and OK to every message after
  // it until the program ends; returns the messages.
  std::vector<std::string> SaveAndAnswer() {
    window_.Press(btnSave);
    std::vector<std::string> messages;
    while (auto message = Answer(messages.empty() ? IDYES : IDOK, {}, 10000)) {
      messages.push_back(*message);
    }
    EXPECT_EQ(0u, program_->ExitCode(10000));
    return messages;
  }

  std::set<std::string> before_;
  std::unique_ptr<RunningProgram> program_;
  RemoteWindow window_{nullptr};
};

// A save through the real message boxes on each read path, its values found in the view
// they belong to; the backup it wrote, imported by reg.exe, puts back every value as it was.
TEST_F(EndToEnd, SaveOnEachReadPathAndItsBackupPutBackByRegImport) {
  const std::tuple<const char*, const char*, std::vector<std::pair<int, ControlId>>,
                   std::vector<std::string>>
      rows[] = {
          {"outlook2010-32",
           "Microsoft Outlook 2010 (32-bit)",
           {{2, cbReadAsPlain}, {3, cbDumpster}},
           {"Software\\Microsoft\\Office\\14.0\\Outlook\\Options\\Mail\\ReadAsPlain=4:\x01\0\0\0"s,
            "Software\\Microsoft\\Exchange\\Client\\Options\\DumpsterAlwaysOn=4:\0\0\0\0"s}},
          {"outlook2013-64",
           "Microsoft Outlook 2013 (64-bit)",
           {{3, cbBGSave}},
           {"Software\\Microsoft\\Office\\15.0\\Outlook\\DisableBGSave=4:\0\0\0\0"s}},
          {"outlook2000-32bit-windows",
           "Microsoft Outlook 2000 (32-bit)",
           {{3, cbBGSave}},
           {"Software\\Microsoft\\Office\\9.0\\Outlook\\DisableBGSave=4:\x01\0\0\0"s}},
      };
  Win32FileSystem files;
  const std::string backups = files.LocalAppDataFolder() + "Tarnwell\\Backups\\";
  for (const auto& [installation, version, clicks, written] : rows) {
    SCOPED_TRACE(installation);
    for (const std::string& earlier : files.FileNames(backups)) {
      files.RemoveFile(backups + earlier);
    }
    Start(installation);
    EXPECT_EQ(version, window_.Text(pOutlookVersion));
    for (const auto& [tab, box] : clicks) {
      window_.ShowTab(tab);
      window_.Click(box);
    }
    const std::vector<std::string> messages = SaveAndAnswer();
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ("Are you sure you want to make these changes?", messages.front());
    EXPECT_EQ("You must restart Outlook for these changes to take effect.", messages.back());
    const auto after = RegistryOfInterest();
    for (const std::string& value : written) {
      EXPECT_EQ(1u, after.count(value)) << value;
    }
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
  window_ = RemoteWindow::WaitFor(*program_, "TarnwellTForm1", 60000);
  EXPECT_EQ(kNotInstalledText, window_.Text(pOutlookVersion));
  EXPECT_FALSE(IsWindowEnabled(window_.Control(btnSave)));
}

// Outlook started for real: a stand-in, copied into the install folder, records how.
TEST_F(EndToEnd, OutlookIsStartedFromTheInstallFolderWithTheChosenOption) {
  const std::string folder = "C:\\Program Files (x86)\\Microsoft Office\\Office14\\";
  ASSERT_TRUE(Win32FileSystem().MakeFolders(folder));
  ASSERT_TRUE(CopyFileA(WindowsPath(FromEnvironment("TARNWELL_STANDIN")).c_str(),
                        (folder + "OUTLOOK.EXE").c_str(), FALSE));
  Start("outlook2010-32");
  window_.ShowTab(4);
  HWND list = window_.Control(lbCLOptions);
  SendMessageA(list, LB_SETCURSEL, 59, 0);  // /safe:1
  SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(lbCLOptions, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
  window_.Press(btnLaunchOutlook);
  std::string records;
  for (int wait = 0; wait < 500 && !records.ends_with("\n"); ++wait) {
    Sleep(20);
    records = FileText(folder + "command-lines.txt");
  }
  EXPECT_EQ("\"" + folder + "OUTLOOK.EXE\" /safe:1\r\n", records);
}

// The mail profiles exported by Wine's own registry editor, through the real confirmation,
// save dialog and result message.
TEST_F(EndToEnd, ProfilesExportedByTheRegistryEditor) {
  const std::string file = kDocuments + "profile backup.reg";
  const std::string profiles =
      "[HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\15.0\\Outlook\\Profiles";
  Start("outlook2013-64");
  window_.ShowTab(2);
  window_.Press(btnSaveUserInfo);
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
  SendMessageA(window_.Control(edAttachmentPath), WM_SETTEXT, 0, LPARAM(""));
  for (char c : kDocuments) {
    SendMessageA(window_.Control(edAttachmentPath), WM_CHAR, c, 0);
  }
  window_.ShowTab(2);
  window_.Click(cbReadAsPlain);
  PostMessageA(window_.handle, WM_SYSCOMMAND, miExportSettings, 0);
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

// The release installer of the 32-bit program, run silently in a fresh Wine prefix: what it
// puts where, the installed program started, and an uninstall that takes away everything the
// installer added but leaves what the user put into its folder.
#include <windows.h>

#include <shlobj.h>

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <tlhelp32.h>
#include <vector>

#include "version.h"
#include "wine/remote_window.h"

namespace tarnwell {
namespace {

constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::string Environment(const char* name) {
  char value[MAX_PATH] = {};
  GetEnvironmentVariableA(name, value, sizeof(value));
  return value;
}

std::string ShellFolder(int csidl) {
  char path[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A value of the program's uninstall entry in one view, as text.
std::string Entry(REGSAM view, const char* name) {
  char value[MAX_PATH] = {};
  DWORD size = sizeof(value), type = 0;
  HKEY key = nullptr;
  RegOpenKeyExA(HKEY_LOCAL_MACHINE, (std::string(kUninstallKey) + "\\Tarnwell").c_str(), 0,
                KEY_READ | view, &key);
  RegGetValueA(key, nullptr, name, RRF_RT_REG_SZ | RRF_RT_REG_DWORD, &type, value, &size);
  RegCloseKey(key);
  return type == REG_DWORD ? std::to_string(*reinterpret_cast<DWORD*>(value)) : value;
}

void Run(const std::string& command_line) {
  RunningProgram program(command_line);
  ASSERT_TRUE(program.Started()) << command_line;
  EXPECT_EQ(0u, program.WaitForExit(60000).value_or(99)) << command_line;
}

// Everything an installer of a 32-bit program could leave behind, and the user's Outlook
// settings, which neither the installer nor the uninstaller may touch.
std::string Traces() {
  char temporary[MAX_PATH] = {};
  GetTempPathA(sizeof(temporary), temporary);
  return RegistrySnapshot(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, kUninstallKey) +
         RegistrySnapshot(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, kUninstallKey) +
         RegistrySnapshot(HKEY_CURRENT_USER, 0, "Software\\Microsoft\\Office") +
         FileTreeSnapshot(Environment("ProgramFiles(x86)")) +
         FileTreeSnapshot(Environment("ProgramW6432")) +
         FileTreeSnapshot(ShellFolder(CSIDL_COMMON_PROGRAMS)) +
         FileTreeSnapshot(ShellFolder(CSIDL_PROGRAMS)) + FileTreeSnapshot(temporary);
}

TEST(Installer, InstallsWhereA32BitProgramBelongsStartsAndUninstallsWithoutATrace) {
  const char* setup = std::getenv("TARNWELL_SETUP");
  ASSERT_NE(nullptr, setup) << "TARNWELL_SETUP names the installer under test";
  const char path[] = "C:\\Mail\\";
  RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Microsoft\\Office\\14.0\\Outlook", "ForcePSTPath",
                  REG_SZ, path, sizeof(path));
  const std::string before = Traces();
  Run("\"" + WindowsPath(setup) + "\" /S");

  // The 32-bit "Program Files" of 64-bit Windows, and "Add or remove programs" in the 32-bit
  // view, as for any 32-bit program.
  const std::string folder = Environment("ProgramFiles(x86)") + "\\Tarnwell\\";
  ASSERT_NE("\\Tarnwell\\", folder);
  for (const char* file : {"tarnwell.exe", "readme.txt", "tarnwell-help.pdf", "uninstall.exe"}) {
    EXPECT_TRUE(FileExists(folder + file)) << file;
  }
  std::vector<char> version(GetFileVersionInfoSizeA((folder + "tarnwell.exe").c_str(), nullptr));
  char* text = nullptr;
  UINT length = 0;
  ASSERT_TRUE(GetFileVersionInfoA((folder + "tarnwell.exe").c_str(), 0,
                                  static_cast<DWORD>(version.size()), version.data()) &&
              VerQueryValueA(version.data(), "\\StringFileInfo\\040904B0\\FileVersion",
                             reinterpret_cast<void**>(&text), &length));
  EXPECT_STREQ(TARNWELL_VERSION_TEXT, text);
  EXPECT_EQ(std::string("Tarnwell ") + TARNWELL_VERSION_TEXT,
            Entry(KEY_WOW64_32KEY, "DisplayName"));
  EXPECT_EQ(TARNWELL_VERSION_TEXT, Entry(KEY_WOW64_32KEY, "DisplayVersion"));
  EXPECT_EQ("The Tarnwell developers", Entry(KEY_WOW64_32KEY, "Publisher"));
  EXPECT_EQ("\"" + folder + "uninstall.exe\"", Entry(KEY_WOW64_32KEY, "UninstallString"));
  EXPECT_EQ(folder.substr(0, folder.size() - 1), Entry(KEY_WOW64_32KEY, "InstallLocation"));
  const int size_kb = std::stoi("0" + Entry(KEY_WOW64_32KEY, "EstimatedSize"));
  EXPECT_TRUE(size_kb > 500 && size_kb < 5000) << size_kb << " KB";
  EXPECT_EQ("", Entry(KEY_WOW64_64KEY, "DisplayName"));
  // The shortcut holds the program's path.
  std::ifstream link(ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Tarnwell.lnk", std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(link), {}};
  EXPECT_NE(std::string::npos, bytes.find(folder + "tarnwell.exe")) << "Tarnwell.lnk";
  {
    RunningProgram program("\"" + folder + "tarnwell.exe\"");
    auto window = RemoteWindow::WaitFor(program, "TarnwellTForm1", 60000);
    ASSERT_TRUE(window.has_value()) << "the installed program showed no main window";
    PostMessageA(window->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, program.WaitForExit(10000).value_or(99));
  }
  const std::string notes = folder + "notes.txt";
  std::ofstream(notes) << "the user's";

  // The uninstaller carries on from a copy of itself in the temporary folder, so its first
  // process ends before the files are gone; the copy goes at the next start of Windows,
  // which Wine's restart tasks stand for.
  Run("\"" + folder + "uninstall.exe\" /S");
  for (int wait = 0; wait < 1500 && FileExists(folder + "uninstall.exe"); ++wait) {
    Sleep(20);
  }
  const auto copy_runs = [] {
    bool runs = false;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot, &entry); more && !runs;
         more = Process32Next(snapshot, &entry)) {
      runs = std::string(entry.szExeFile) == "Un.exe";
    }
    CloseHandle(snapshot);
    return runs;
  };
  for (int wait = 0; wait < 500 && copy_runs(); ++wait) {
    Sleep(20);
  }
  Run("wineboot.exe -r");
  EXPECT_EQ(notes + " 10\n", FileTreeSnapshot(folder.substr(0, folder.size() - 1)));
  DeleteFileA(notes.c_str());
  RemoveDirectoryA(folder.c_str());
  EXPECT_EQ(before, Traces());
}

}  // namespace
}  // namespace tarnwell

// The release installer of the 32-bit program, run silently in a fresh Wine prefix: what it
// puts where, and an uninstall that takes away everything the
// installer added but leaves what the user put into its folder.
#include <windows.h>

#include <shlobj.h>

#include <cstring>
#include <fstream>
#include <gmock/gmock.h>
#include <iterator>
#include <string>

#include "platform/win32/win32_processes.h"
#include "startup/launch.h"
#include "version.h"
#include "wine/remote_window.h"

namespace tarnwell {
namespace {

using namespace std::string_literals;

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

void RunToEnd(const std::string& command_line) {
  RunningProgram program(command_line);
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

TEST(Installer, InstallsWhereA32BitProgramBelongsAndUninstallsWithoutATrace) {
  const char* setup = std::getenv("TARNWELL_SETUP");
  ASSERT_NE(nullptr, setup) << "TARNWELL_SETUP names the installer under test";
  RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Microsoft\\Office\\14.0\\Outlook", "ForcePSTPath",
                  REG_SZ, "C:\\Mail\\", 9);
  const std::string before = Traces();
  RunToEnd("\"" + WindowsPath(setup) + "\" /S");

  // The 32-bit "Program Files" of 64-bit Windows, and "Add or remove programs" in the 32-bit
  // view only, as for any 32-bit program.
  const std::string folder = Environment("ProgramFiles(x86)") + "\\Tarnwell";
  const std::string files = FileTreeSnapshot(folder);
  for (const char* file : {"tarnwell.exe", "readme.txt", "tarnwell-help.pdf", "uninstall.exe"}) {
    EXPECT_THAT(files, testing::HasSubstr(folder + "\\" + file + " ")) << file;
  }
  const std::string key = std::string(kUninstallKey) + "\\Tarnwell";
  const std::string entry = RegistrySnapshot(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, key);
  for (const std::string& value :
       {"DisplayName=1:Tarnwell "s + TARNWELL_VERSION_TEXT,
        "DisplayVersion=1:"s + TARNWELL_VERSION_TEXT, "Publisher=1:The Tarnwell developers"s,
        "UninstallString=1:\"" + folder + "\\uninstall.exe\"", "InstallLocation=1:" + folder}) {
    EXPECT_THAT(entry, testing::HasSubstr(value + '\0' + '\n'));
  }
  DWORD size_kb = 0;
  const std::size_t size = entry.find("EstimatedSize=4:");
  ASSERT_NE(std::string::npos, size) << entry;
  std::memcpy(&size_kb, entry.data() + size + 16, 4);
  EXPECT_TRUE(size_kb > 500 && size_kb < 5000) << size_kb << " KB";
  EXPECT_EQ("", RegistrySnapshot(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, key));
  // The shortcut holds the program's path.
  const std::string bytes{
      std::istreambuf_iterator<char>(
          std::ifstream(ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Tarnwell.lnk", std::ios::binary)
              .rdbuf()),
      {}};
  EXPECT_THAT(bytes, testing::HasSubstr(folder + "\\tarnwell.exe"));
  std::ofstream(folder + "\\notes.txt") << "the user's";

  // The uninstaller carries on from a copy of itself in the temporary folder, so its first
  // process ends before the files are gone; the copy goes at the next start of Windows,
  // which Wine's restart tasks stand for.
  RunToEnd("\"" + folder + "\\uninstall.exe\" /S");
  Win32Processes processes;
  for (int wait = 0;
       wait < 1500 && (FileTreeSnapshot(folder).find("uninstall.exe") != std::string::npos ||
                       CheckProcesses(processes, "Un.exe"));
       ++wait) {
    Sleep(20);
  }
  RunToEnd("wineboot.exe -r");
  EXPECT_EQ(folder + "\\notes.txt 10\n", FileTreeSnapshot(folder));
  DeleteFileA((folder + "\\notes.txt").c_str());
  RemoveDirectoryA(folder.c_str());
  EXPECT_EQ(before, Traces());
}

}  // namespace
}  // namespace tarnwell

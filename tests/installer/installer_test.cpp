// The release installer (TARNWELL_SETUP), silently: what goes where, and the uninstall.
#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <gmock/gmock.h>

#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_processes.h"
#include "startup/launch.h"
#include "version.h"
#include "wine/remote_window.h"

namespace tarnwell {
namespace {

using namespace std::string_literals;
using testing::HasSubstr;

void RunToEnd(const std::string& command_line) {
  EXPECT_EQ(0u, RunningProgram(command_line).ExitCode(60000)) << command_line;
}

TEST(Installer, InstallsWhereA32BitProgramBelongsAndUninstallsWithoutATrace) {
  const char* outlook = "Software\\Microsoft\\Office\\14.0\\Outlook";
  RegSetKeyValueA(HKEY_CURRENT_USER, outlook, "ForcePSTPath", REG_SZ, "C:\\Mail\\", 9);
  const std::string settings = RegistrySnapshot(HKEY_CURRENT_USER, 0, outlook);
  RunToEnd("\"" + WindowsPath(std::getenv("TARNWELL_SETUP")) + "\" /S");

  // Where a 32-bit program belongs: the files, its entry in the 32-bit view only, a shortcut.
  Win32FileSystem files;
  const std::string folder = std::getenv("ProgramFiles(x86)") + "\\Tarnwell"s;
  std::vector<std::string> installed = files.FileNames(folder);
  std::sort(installed.begin(), installed.end());
  EXPECT_EQ((std::vector<std::string>{"readme.txt", "tarnwell-help.pdf", "tarnwell.exe",
                                      "uninstall.exe"}),
            installed);
  const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarnwell";
  const std::string entry = RegistrySnapshot(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, key);
  for (const std::string& value :
       {"DisplayVersion=1:"s + TARNWELL_VERSION_TEXT,
        "UninstallString=1:\"" + folder + "\\uninstall.exe\"", "InstallLocation=1:" + folder}) {
    EXPECT_THAT(entry, HasSubstr(value + '\0' + '\n'));
  }
  EXPECT_EQ("", RegistrySnapshot(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, key));
  char shortcut[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, shortcut);
  strcat(shortcut, "\\Tarnwell.lnk");
  EXPECT_THAT(FileText(shortcut), HasSubstr(folder + "\\tarnwell.exe"));
  std::ofstream(folder + "\\notes.txt") << "the user's";

  // It carries on from a copy in the temporary folder; the user's file and settings stay.
  RunToEnd("\"" + folder + "\\uninstall.exe\" /S");
  Win32Processes processes;
  for (int wait = 0; wait < 1500 && (files.FileExists(folder + "\\uninstall.exe") ||
                                     CheckProcesses(processes, "Un.exe"));
       ++wait) {
    Sleep(20);
  }
  EXPECT_EQ(std::vector<std::string>{"notes.txt"}, files.FileNames(folder));
  EXPECT_EQ(
      std::tuple("", false, settings),
      std::tuple(RegistrySnapshot(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, key),
                 files.FileExists(shortcut), RegistrySnapshot(HKEY_CURRENT_USER, 0, outlook)));
}

}  // namespace
}  // namespace tarnwell

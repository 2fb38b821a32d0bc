// The release installer of the 32-bit program, run silently in a fresh Wine prefix: what it
// puts where, and an uninstall that takes away everything it added but what the user put into
// its folder.
#include <windows.h>

#include <shlobj.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <gmock/gmock.h>
#include <iterator>

#include "platform/win32/win32_processes.h"
#include "startup/launch.h"
#include "version.h"
#include "wine/remote_window.h"

namespace tarnwell {
namespace {

using namespace std::string_literals;
using testing::HasSubstr;

constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::string Folder(int csidl) {
  char path[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

// The names and sizes of every file and folder below `folder`, one line each.
std::string FileTreeSnapshot(const std::string& folder) {
  std::string out;
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
    const std::string name = found.cFileName, path = folder + "\\" + name;
    if (name != "." && name != "..") {
      out += (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                 ? path + "\\\n" + FileTreeSnapshot(path)
                 : path + " " + std::to_string(found.nFileSizeLow) + "\n";
    }
  }
  FindClose(search);
  return out;
}

void RunToEnd(const std::string& command_line) {
  EXPECT_EQ(0u, RunningProgram(command_line).ExitCode(60000)) << command_line;
}

// Everything an installer of a 32-bit program could leave behind, and the user's Outlook
// settings, which neither the installer nor the uninstaller may touch.
std::string Traces() {
  char temporary[MAX_PATH] = {};
  GetTempPathA(sizeof(temporary), temporary);
  return RegistrySnapshot(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, kUninstallKey) +
         RegistrySnapshot(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, kUninstallKey) +
         RegistrySnapshot(HKEY_CURRENT_USER, 0, "Software\\Microsoft\\Office") +
         FileTreeSnapshot(std::getenv("ProgramFiles(x86)")) +
         FileTreeSnapshot(std::getenv("ProgramW6432")) +
         FileTreeSnapshot(Folder(CSIDL_COMMON_PROGRAMS)) +
         FileTreeSnapshot(Folder(CSIDL_PROGRAMS)) + FileTreeSnapshot(temporary);
}

TEST(Installer, InstallsWhereA32BitProgramBelongsAndUninstallsWithoutATrace) {
  ASSERT_NE(nullptr, std::getenv("TARNWELL_SETUP")) << "it names the installer under test";
  RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Microsoft\\Office\\14.0\\Outlook", "ForcePSTPath",
                  REG_SZ, "C:\\Mail\\", 9);
  const std::string before = Traces();
  RunToEnd("\"" + WindowsPath(std::getenv("TARNWELL_SETUP")) + "\" /S");

  // The 32-bit "Program Files" of 64-bit Windows, and "Add or remove programs" in the 32-bit
  // view only, as for any 32-bit program; a Start-menu shortcut to the program.
  const std::string folder = std::getenv("ProgramFiles(x86)") + "\\Tarnwell"s;
  const std::string files = FileTreeSnapshot(folder);
  for (const char* file : {"tarnwell.exe", "readme.txt", "tarnwell-help.pdf", "uninstall.exe"}) {
    EXPECT_THAT(files, HasSubstr(folder + "\\" + file + " ")) << file;
  }
  const std::string key = std::string(kUninstallKey) + "\\Tarnwell";
  const std::string entry = RegistrySnapshot(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, key);
  for (const std::string& value :
       {"DisplayVersion=1:"s + TARNWELL_VERSION_TEXT,
        "UninstallString=1:\"" + folder + "\\uninstall.exe\"", "InstallLocation=1:" + folder}) {
    EXPECT_THAT(entry, HasSubstr(value + '\0' + '\n'));
  }
  DWORD size_kb = 0;
  ASSERT_THAT(entry, HasSubstr("EstimatedSize=4:"));
  std::memcpy(&size_kb, entry.data() + entry.find("EstimatedSize=4:") + 16, 4);
  EXPECT_TRUE(size_kb > 500 && size_kb < 5000) << size_kb << " KB in " << entry;
  EXPECT_EQ("", RegistrySnapshot(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, key));
  std::ifstream shortcut(Folder(CSIDL_COMMON_PROGRAMS) + "\\Tarnwell.lnk", std::ios::binary);
  EXPECT_THAT(std::string(std::istreambuf_iterator<char>(shortcut), {}),
              HasSubstr(folder + "\\tarnwell.exe"));
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

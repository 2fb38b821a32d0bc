// The file system and process services against Wine's.
#include <windows.h>

#include <gtest/gtest.h>
#include <string>

#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_processes.h"
#include "startup/launch.h"

namespace tarnwell {
namespace {

TEST(Win32FileSystem, FoldersAndFilesByTheirAttributes) {
  Win32FileSystem files;
  EXPECT_TRUE(files.FolderExists("C:\\windows"));
  EXPECT_TRUE(files.FolderExists("C:\\windows\\"));
  EXPECT_FALSE(files.FileExists("C:\\windows"));
  EXPECT_TRUE(files.FileExists("C:\\windows\\system32\\kernel32.dll"));
  EXPECT_FALSE(files.FolderExists("C:\\windows\\system32\\kernel32.dll"));
  EXPECT_FALSE(files.FolderExists(""));
  EXPECT_FALSE(files.FileExists(""));
  EXPECT_FALSE(files.FolderExists("C:\\no such folder"));
}

// The program's own folder, not the current one: the help file is looked for there.
TEST(Win32FileSystem, ProgramFolderHoldsTheRunningProgram) {
  Win32FileSystem files;
  char current[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, current);
  SetCurrentDirectoryA("C:\\windows");
  const std::string folder = files.ProgramFolder();
  SetCurrentDirectoryA(current);
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ('\\', folder.back());
  EXPECT_TRUE(files.FileExists(folder + "wine_platform_tests.exe"));
}

TEST(Win32Processes, SnapshotListsThisProgramByItsImageName) {
  Win32Processes processes;
  EXPECT_TRUE(CheckProcesses(processes, "wine_platform_tests.exe"));
  EXPECT_FALSE(CheckProcesses(processes, "WINE_PLATFORM_TESTS.EXE"));
  EXPECT_FALSE(CheckProcesses(processes, "OUTLOOK.EXE"));
}

TEST(Win32Processes, StartReportsWhyItFailed) {
  Win32Processes processes;
  const auto missing = processes.Start("\"C:\\no such folder\\OUTLOOK.EXE\" /safe", 0x220);
  EXPECT_FALSE(missing.ok);
  EXPECT_NE(0u, missing.error);
  EXPECT_TRUE(processes.Start("C:\\windows\\system32\\cmd.exe /c exit", 0x220).ok);
}

}  // namespace
}  // namespace tarnwell

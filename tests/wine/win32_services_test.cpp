// The file system and process services against Wine's.
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

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

// What a backup needs: the user's application-data folder, folders made with their
// parents, files written whole (replacing), listed without sub-folders, and deleted.
TEST(Win32FileSystem, BackupFolderAndItsFiles) {
  Win32FileSystem files;
  const std::string app_data = files.LocalAppDataFolder();
  char expected[MAX_PATH] = {};
  ASSERT_NE(0u, GetEnvironmentVariableA("LOCALAPPDATA", expected, MAX_PATH));
  EXPECT_EQ(std::string(expected) + "\\", app_data);
  EXPECT_TRUE(files.FolderExists(app_data));

  const std::string folder = app_data + "Tarnwell-test\\a\\b\\";
  ASSERT_TRUE(files.MakeFolders(folder));
  EXPECT_TRUE(files.FolderExists(folder));
  EXPECT_TRUE(files.MakeFolders(folder)) << "made already";
  ASSERT_TRUE(files.WriteWholeFile(folder + "one.reg", std::string("long\0text", 9)));
  ASSERT_TRUE(files.WriteWholeFile(folder + "one.reg", "short"));
  std::ifstream in(folder + "one.reg", std::ios::binary);
  EXPECT_EQ("short", std::string(std::istreambuf_iterator<char>(in), {}));
  in.close();
  EXPECT_EQ("short", files.ReadWholeFile(folder + "one.reg", 100).value_or("(none)"));
  EXPECT_EQ("sho", files.ReadWholeFile(folder + "one.reg", 3).value_or("(none)"));
  EXPECT_FALSE(files.ReadWholeFile(folder + "missing.reg", 100));
  ASSERT_TRUE(files.WriteWholeFile(folder + "Two.txt", ""));
  ASSERT_TRUE(files.MakeFolders(folder + "sub"));
  std::vector<std::string> names = files.FileNames(folder);
  std::sort(names.begin(), names.end());
  EXPECT_EQ((std::vector<std::string>{"Two.txt", "one.reg"}), names);
  EXPECT_TRUE(files.FileNames(folder + "missing").empty());

  EXPECT_FALSE(files.WriteWholeFile(folder + "missing\\three.reg", "x"));
  EXPECT_FALSE(files.MakeFolders(folder + "Two.txt\\c")) << "a file stands in the way";
  EXPECT_TRUE(files.RemoveFile(folder + "one.reg"));
  EXPECT_FALSE(files.FileExists(folder + "one.reg"));
  EXPECT_FALSE(files.RemoveFile(folder + "one.reg"));
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

// The program's Win32 file system, processes and shell against Wine's.
#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_shell.h"

namespace tarnwell {
namespace {

// Paths as each query sees them ("folder file time"); what backups and exports do with files.
TEST(Win32FileSystem, PathsFoldersAndFiles) {
  Win32FileSystem files;
  SetCurrentDirectoryA("C:\\windows");
  EXPECT_TRUE(files.FileExists(files.ProgramFolder() + "wine_platform_tests.exe"));
  EXPECT_EQ(std::string(std::getenv("LOCALAPPDATA")) + "\\", files.LocalAppDataFolder());
  const std::string at = files.LocalAppDataFolder() + "Tarnwell-test\\a\\b\\";
  ASSERT_TRUE(files.MakeFolders(at) && files.MakeFolders(at)) << "made, and made already";
  ASSERT_TRUE(files.WriteWholeFile(at + "one.reg", std::string("long\0text", 9)));
  ASSERT_TRUE(files.WriteWholeFile(at + "one.reg", "short") && files.MakeFolders(at + "sub"));
  const std::pair<const char*, const char*> paths[] = {
      {"C:\\windows\\", "100"},      {"C:\\windows", "100"}, {"", "000"},
      {"C:\\no such folder", "000"}, {"one.reg", "011"},     {"missing.reg", "000"}};
  for (const auto& [path, expected] : paths) {
    const std::string full = path[0] == 'C' || !*path ? path : at + path;
    EXPECT_EQ(expected, std::to_string(files.FolderExists(full)) +
                            std::to_string(files.FileExists(full)) +
                            std::to_string(files.LastWriteTime(full).has_value()))
        << path;
  }
  EXPECT_EQ("short", files.ReadWholeFile(at + "one.reg", 100).value_or("(none)"));
  EXPECT_EQ("sho", files.ReadWholeFile(at + "one.reg", 3).value_or("(none)"));
  EXPECT_FALSE(files.ReadWholeFile(at + "missing.reg", 100));
  EXPECT_EQ(std::vector<std::string>{"one.reg"}, files.FileNames(at));
  EXPECT_TRUE(files.FileNames(at + "missing").empty());
  EXPECT_FALSE(files.WriteWholeFile(at + "missing\\three.reg", "x"));
  EXPECT_FALSE(files.MakeFolders(at + "one.reg\\c"));
  EXPECT_TRUE(files.RemoveFile(at + "one.reg"));
  EXPECT_FALSE(files.FileExists(at + "one.reg") || files.RemoveFile(at + "one.reg"));
}

// Running processes, starts and failed ones; a program run by the shell: ended, running, not.
TEST(Win32ProcessesAndShell, StartAndSayHowItWent) {
  Win32Processes processes;
  const auto running = processes.Running().value_or(std::vector<Processes::Entry>{});
  EXPECT_TRUE(std::any_of(running.begin(), running.end(), [](const Processes::Entry& entry) {
    return entry.id == GetCurrentProcessId() && entry.image == "wine_platform_tests.exe";
  }));
  const auto missing = processes.Start("\"C:\\no such folder\\OUTLOOK.EXE\" /safe", 0x220);
  EXPECT_TRUE(!missing.ok && missing.error != 0);
  EXPECT_TRUE(processes.Start("C:\\windows\\system32\\cmd.exe /c exit", 0x220).ok);
  Win32Shell shell;
  for (const auto& [file, parameters, wait, ran] :
       {std::tuple{"cmd.exe", "/c exit", 20000u, Shell::Ran::Ended},
        {"cmd.exe", "/c for /l %i in (1,1,50000) do rem", 50u, Shell::Ran::StillRunning},
        {"C:\\no such.exe", "", 1000u, Shell::Ran::NotStarted}}) {
    EXPECT_EQ(ran, shell.RunAndWait(file, parameters, SW_HIDE, wait)) << parameters;
  }
  EXPECT_GT(shell.Execute("open", "cmd.exe", "/c exit", "C:\\", SW_HIDE), 32);
  EXPECT_EQ(SE_ERR_FNF, shell.Execute("open", "C:\\no such.exe", "", "", SW_HIDE));
}

}  // namespace
}  // namespace tarnwell

// The program's Win32 file system, processes, shell and clock against Wine's, and its
// registry files against Windows' own tools.
#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_shell.h"
#include "settings/reg_file.h"
#include "wine/remote_window.h"

namespace tarnwell {
namespace {

// What each query says of a path: a folder, a file (with its time), or neither.
TEST(Win32FileSystem, FoldersAndFilesByTheirAttributes) {
  struct Row {
    const char* path;
    bool folder;
    bool file;
  };
  Win32FileSystem files;
  for (const Row& row : {Row{"C:\\windows", true, false}, Row{"C:\\windows\\", true, false},
                         Row{"C:\\windows\\system32\\kernel32.dll", false, true},
                         Row{"", false, false}, Row{"C:\\no such folder", false, false}}) {
    EXPECT_EQ(row.folder, files.FolderExists(row.path)) << row.path;
    EXPECT_EQ(row.file, files.FileExists(row.path)) << row.path;
    EXPECT_EQ(row.file, files.LastWriteTime(row.path).has_value()) << row.path;
  }
}

// What backups and exports need: the program's own folder (not the current one), the user's
// application-data folder, folders made with their parents, files written whole (replacing),
// read up to a limit, listed without sub-folders, their time of writing, and deleted.
TEST(Win32FileSystem, ProgramAndBackupFoldersAndTheirFiles) {
  Win32FileSystem files;
  SetCurrentDirectoryA("C:\\windows");
  EXPECT_TRUE(files.FileExists(files.ProgramFolder() + "wine_platform_tests.exe"));
  char expected[MAX_PATH] = {};
  ASSERT_NE(0u, GetEnvironmentVariableA("LOCALAPPDATA", expected, MAX_PATH));
  EXPECT_EQ(std::string(expected) + "\\", files.LocalAppDataFolder());
  const std::string folder = files.LocalAppDataFolder() + "Tarnwell-test\\a\\b\\";
  ASSERT_TRUE(files.MakeFolders(folder));
  EXPECT_TRUE(files.MakeFolders(folder)) << "made already";
  ASSERT_TRUE(files.WriteWholeFile(folder + "one.reg", std::string("long\0text", 9)));
  ASSERT_TRUE(files.WriteWholeFile(folder + "one.reg", "short"));
  EXPECT_EQ("short", files.ReadWholeFile(folder + "one.reg", 100).value_or("(none)"));
  EXPECT_EQ("sho", files.ReadWholeFile(folder + "one.reg", 3).value_or("(none)"));
  EXPECT_FALSE(files.ReadWholeFile(folder + "missing.reg", 100));
  HANDLE file = CreateFileA((folder + "one.reg").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  const FILETIME written{0x12345678, 0x01D00000};
  SetFileTime(file, nullptr, nullptr, &written);
  CloseHandle(file);
  EXPECT_EQ(0x01D0000012345678u, files.LastWriteTime(folder + "one.reg").value_or(0));
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

TEST(Win32Processes, ListsThisProgramAndSaysWhyAStartFailed) {
  Win32Processes processes;
  const auto running = processes.Running().value_or(std::vector<Processes::Entry>{});
  EXPECT_TRUE(std::any_of(running.begin(), running.end(), [](const Processes::Entry& entry) {
    return entry.id == GetCurrentProcessId() && entry.image == "wine_platform_tests.exe";
  }));
  const auto missing = processes.Start("\"C:\\no such folder\\OUTLOOK.EXE\" /safe", 0x220);
  EXPECT_FALSE(missing.ok);
  EXPECT_NE(0u, missing.error);
  EXPECT_TRUE(processes.Start("C:\\windows\\system32\\cmd.exe /c exit", 0x220).ok);
}

// A program run through the shell: ended, still running when the wait is over, or not started.
TEST(Win32Shell, RunAndWaitSaysHowTheProgramRan) {
  struct Row {
    const char* file;
    const char* parameters;
    unsigned wait;
    Shell::Ran ran;
  };
  Win32Shell shell;
  for (const Row& row :
       {Row{"cmd.exe", "/c exit", 20000, Shell::Ran::Ended},
        Row{"cmd.exe", "/c for /l %i in (1,1,50000) do rem", 50, Shell::Ran::StillRunning},
        Row{"C:\\no such.exe", "", 1000, Shell::Ran::NotStarted}}) {
    EXPECT_EQ(row.ran, shell.RunAndWait(row.file, row.parameters, SW_HIDE, row.wait))
        << row.parameters;
  }
  EXPECT_GT(shell.Execute("open", "cmd.exe", "/c exit", "C:\\", SW_HIDE), 32);
  EXPECT_EQ(SE_ERR_FNF, shell.Execute("open", "C:\\no such.exe", "", "", SW_HIDE));
}

TEST(Win32Clock, NowIsTheLocalTime) {
  SYSTEMTIME before{}, after{};
  GetLocalTime(&before);
  const DateTime now = Win32Clock().Now();
  GetLocalTime(&after);
  using Time = std::tuple<int, int, int, int, int, int>;
  const auto at = [](const SYSTEMTIME& t) {
    return Time(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
  };
  const Time read(now.date.year, now.date.month, now.date.day, now.hour, now.minute, now.second);
  EXPECT_TRUE(at(before) <= read && read <= at(after));
}

// What the program writes, reg.exe sets exactly, as the registry editor's export read by the
// program shows: every kind the program backs up, text bytes above 127 that ANSI and UTF-16
// share. (Wine's editor exports a DWORD of another size than four bytes with stray bytes of
// its own, so that kind is read back directly.)
TEST(RegFile, RegImportSetsWhatTheProgramWroteAndTheEditorExportReadsAsSet) {
  const std::string path = "Software\\TarnwellRegFile", file = "C:\\windows\\temp\\t.reg";
  const auto value = [](const char* name, std::uint32_t type, std::vector<std::uint8_t> data) {
    return RegFileValue{name, RegValue{static_cast<ValueType>(type), std::move(data)}};
  };
  // A key's values in name order, as registry-file text: a difference reads as one.
  const auto listed = [&path](std::vector<RegFileValue> values) {
    std::sort(values.begin(), values.end(), [](const auto& a, const auto& b) {
      return lstrcmpiA(a.name.c_str(), b.name.c_str()) < 0;
    });
    return WriteRegFile({{Root::CurrentUser, path, std::move(values)}}, "");
  };
  std::vector<RegFileValue> values = {
      value("", 1, StringData("default")),
      value("Text", 1, StringData("C:\\Mail \"Caf\xe9\" \\\\srv\\\xfc")),
      value("Expand", 2, StringData("%TEMP%\\x")),
      value("Binary", 3, std::vector<std::uint8_t>(100, 0xa5)),
      value("Number", 4, DwordData(0xdeadbeef)),
      value("Multi", 7, {'a', 0, 'b', 0, 0}),
      value("Wide", 11, {1, 2, 3, 4, 5, 6, 7, 8}),
  };
  RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
  RegSetKeyValueA(HKEY_CURRENT_USER, path.c_str(), "Gone", REG_SZ, "x", 2);
  auto written = values;
  written.push_back(value("Short", 4, {1, 2}));
  written.push_back({"Gone", std::nullopt});
  std::ofstream(file, std::ios::binary) << WriteRegFile({{Root::CurrentUser, path, written}}, "t");
  RunningProgram reg("reg.exe import " + file + " /reg:64");
  ASSERT_EQ(0u, reg.WaitForExit(30000).value_or(99));
  HKEY key = nullptr;
  RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &key);
  std::uint8_t data[8] = {};
  DWORD type = 0, size = sizeof(data);
  RegQueryValueExA(key, "Short", nullptr, &type, data, &size);
  EXPECT_EQ(listed({value("Short", 4, {1, 2})}),
            listed({value("Short", type, {data, data + size})}));
  RegDeleteValueA(key, "Short");
  RegCloseKey(key);

  RunningProgram editor("regedit.exe /e " + file + " HKEY_CURRENT_USER\\" + path);
  ASSERT_EQ(0u, editor.WaitForExit(30000).value_or(99));
  std::ifstream in(file, std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
  ASSERT_TRUE(bytes.size() > 2 && bytes[0] == 0xFF) << "not UTF-16, as the editor writes it";
  const auto read = ReadRegFile(bytes);
  ASSERT_EQ(0u, read.index()) << std::get<RegFileError>(read).text;
  ASSERT_EQ(1u, std::get<0>(read).size());
  EXPECT_EQ(path, std::get<0>(read)[0].path);
  EXPECT_EQ(listed(values), listed(std::get<0>(read)[0].values));
}

}  // namespace
}  // namespace tarnwell

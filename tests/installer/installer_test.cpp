// The release installer of the 32-bit program, run silently in a fresh Wine prefix: what it
// puts where, the installed program started, and an uninstall that takes away exactly what
// the installer added.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>
#include <string>
#include <tlhelp32.h>
#include <vector>

#include "version.h"
#include "wine/remote_window.h"
#include "wine/snapshot.h"

namespace tarnwell {
namespace {

constexpr REGSAM k32 = KEY_WOW64_32KEY;
constexpr REGSAM k64 = KEY_WOW64_64KEY;
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

// A value of HKLM in one view; empty text or 0 when it is missing.
template <typename Value>
Value Read(REGSAM view, const std::string& path, const char* name, DWORD restriction) {
  Value value{};
  DWORD size = sizeof(value);
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, &key) == ERROR_SUCCESS) {
    RegGetValueA(key, nullptr, name, restriction, nullptr, &value, &size);
    RegCloseKey(key);
  }
  return value;
}

std::string Text(REGSAM view, const std::string& key, const char* name) {
  struct Buffer {
    char text[MAX_PATH];
  };
  return Read<Buffer>(view, key, name, RRF_RT_REG_SZ).text;
}

DWORD Number(REGSAM view, const std::string& key, const char* name) {
  return Read<DWORD>(view, key, name, RRF_RT_REG_DWORD);
}

// The program a shortcut starts.
std::string ShortcutTarget(const std::string& link) {
  std::string target;
  IShellLinkA* shell_link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&shell_link)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shell_link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      std::wstring wide(link.begin(), link.end());
      char path[MAX_PATH] = {};
      if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ)) &&
          SUCCEEDED(shell_link->GetPath(path, sizeof(path), nullptr, 0))) {
        target = path;
      }
      file->Release();
    }
    shell_link->Release();
  }
  return target;
}

// The version resource's texts and numbers of a program.
std::string FileVersion(const std::string& program, DWORD& numbers) {
  DWORD ignored = 0;
  std::vector<char> data(GetFileVersionInfoSizeA(program.c_str(), &ignored));
  numbers = 0;
  if (data.empty() ||
      !GetFileVersionInfoA(program.c_str(), 0, static_cast<DWORD>(data.size()), data.data())) {
    return {};
  }
  void* fixed = nullptr;
  UINT length = 0;
  if (VerQueryValueA(data.data(), "\\", &fixed, &length) && length >= sizeof(VS_FIXEDFILEINFO)) {
    numbers = static_cast<VS_FIXEDFILEINFO*>(fixed)->dwFileVersionMS;
  }
  void* text = nullptr;
  if (!VerQueryValueA(data.data(), "\\StringFileInfo\\040904B0\\FileVersion", &text, &length)) {
    return {};
  }
  return static_cast<const char*>(text);
}

class Installer : public testing::Test {
 protected:
  void SetUp() override {
    const char* setup = std::getenv("TARNWELL_SETUP");
    ASSERT_NE(nullptr, setup) << "TARNWELL_SETUP names the installer under test";
    setup_ = WindowsPath(setup);
    CoInitialize(nullptr);
    // Outlook's settings, which neither the installer nor the uninstaller may touch.
    HKEY outlook = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Office\\14.0\\Outlook", 0,
                              nullptr, 0, KEY_WRITE, nullptr, &outlook, nullptr));
    const char path[] = "C:\\Mail\\";
    RegSetValueExA(outlook, "ForcePSTPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(path),
                   sizeof(path));
    RegCloseKey(outlook);
  }
  void TearDown() override { CoUninitialize(); }

  // Everything an installer of a 32-bit program could leave behind.
  static std::string Traces() {
    return RegistrySnapshot(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, kUninstallKey) +
           RegistrySnapshot(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, kUninstallKey) +
           RegistrySnapshot(HKEY_CURRENT_USER, 0, "Software\\Microsoft\\Office") +
           FileTreeSnapshot(Environment("ProgramFiles(x86)")) +
           FileTreeSnapshot(Environment("ProgramW6432")) +
           FileTreeSnapshot(ShellFolder(CSIDL_COMMON_PROGRAMS)) +
           FileTreeSnapshot(ShellFolder(CSIDL_PROGRAMS)) + FileTreeSnapshot(TemporaryFolder());
  }

  static bool UninstallerCopyRuns() {
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
  }

  static std::string TemporaryFolder() {
    char path[MAX_PATH] = {};
    GetTempPathA(sizeof(path), path);
    return path;
  }

  static void Run(const std::string& command_line) {
    RunningProgram program(command_line);
    ASSERT_TRUE(program.Started()) << command_line;
    EXPECT_EQ(0u, program.WaitForExit(60000).value_or(99)) << command_line;
  }

  // The uninstaller carries on from a copy of itself in the temporary folder, so its first
  // process ends before the files are gone.
  static void Uninstall(const std::string& folder) {
    Run("\"" + folder + "uninstall.exe\" /S");
    for (int wait = 0; wait < 1500 && FileExists(folder + "uninstall.exe"); ++wait) {
      Sleep(20);
    }
    EXPECT_FALSE(FileExists(folder + "uninstall.exe")) << "the uninstaller did not finish";
    // Its copy goes at the next start of Windows, as with every uninstaller of this kind;
    // Wine's restart tasks do what that start does.
    for (int wait = 0; wait < 500 && UninstallerCopyRuns(); ++wait) {
      Sleep(20);
    }
    Run("wineboot.exe -r");
  }

  std::string setup_;
};

TEST_F(Installer, InstallsFor32BitWindowsProgramsStartsAndUninstallsWithoutATrace) {
  const std::string before = Traces();
  Run("\"" + setup_ + "\" /S");

  // The 32-bit "Program Files" of 64-bit Windows.
  const std::string folder = Environment("ProgramFiles(x86)") + "\\Tarnwell\\";
  ASSERT_NE("\\Tarnwell\\", folder);
  for (const char* file : {"tarnwell.exe", "readme.txt", "tarnwell-help.pdf", "uninstall.exe"}) {
    EXPECT_TRUE(FileExists(folder + file)) << file;
  }
  DWORD numbers = 0;
  EXPECT_EQ(TARNWELL_VERSION_TEXT, FileVersion(folder + "tarnwell.exe", numbers));
  EXPECT_EQ(static_cast<DWORD>(MAKELONG(TARNWELL_VERSION_MINOR, TARNWELL_VERSION_MAJOR)), numbers);

  // "Add or remove programs", in the 32-bit view as for any 32-bit program.
  const std::string key = std::string(kUninstallKey) + "\\Tarnwell";
  EXPECT_EQ(std::string("Tarnwell ") + TARNWELL_VERSION_TEXT, Text(k32, key, "DisplayName"));
  EXPECT_EQ(TARNWELL_VERSION_TEXT, Text(k32, key, "DisplayVersion"));
  EXPECT_EQ("The Tarnwell developers", Text(k32, key, "Publisher"));
  EXPECT_EQ("\"" + folder + "uninstall.exe\"", Text(k32, key, "UninstallString"));
  const DWORD size_kb = Number(k32, key, "EstimatedSize");
  EXPECT_TRUE(size_kb > 500 && size_kb < 5000) << size_kb << " KB";
  EXPECT_EQ("", Text(k64, key, "DisplayName"));

  const std::string shortcut = ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Tarnwell.lnk";
  EXPECT_EQ(folder + "tarnwell.exe", ShortcutTarget(shortcut));

  {
    RunningProgram program("\"" + folder + "tarnwell.exe\"");
    ASSERT_TRUE(program.Started());
    auto window = RemoteWindow::WaitFor(program, "TarnwellTForm1", 60000);
    ASSERT_TRUE(window.has_value()) << "the installed program showed no main window";
    PostMessageA(window->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, program.WaitForExit(10000).value_or(99));
  }

  Uninstall(folder);
  EXPECT_EQ(before, Traces());
}

// A folder chosen with /D=, holding a file of the user's: the uninstaller takes its own
// files and leaves the user's, and with them the folder.
TEST_F(Installer, ChosenFolderKeepsWhatTheUserPutThere) {
  const std::string folder = "C:\\Mail Tools\\Tarnwell\\";
  Run("\"" + setup_ + "\" /S /D=" + folder.substr(0, folder.size() - 1));
  ASSERT_TRUE(FileExists(folder + "tarnwell.exe"));
  EXPECT_EQ(folder.substr(0, folder.size() - 1),
            Text(k32, std::string(kUninstallKey) + "\\Tarnwell", "InstallLocation"));
  const std::string notes = folder + "notes.txt";
  CloseHandle(CreateFileA(notes.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr));

  Uninstall(folder);
  EXPECT_EQ(folder + "notes.txt\n", [&] {
    std::string left;
    for (const char* file :
         {"tarnwell.exe", "readme.txt", "tarnwell-help.pdf", "uninstall.exe", "notes.txt"}) {
      if (FileExists(folder + file)) {
        left += folder + file + "\n";
      }
    }
    return left;
  }());
  EXPECT_FALSE(FileExists(ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Tarnwell.lnk"));
  EXPECT_EQ("", Text(k32, std::string(kUninstallKey) + "\\Tarnwell", "DisplayName"));
}

}  // namespace
}  // namespace tarnwell

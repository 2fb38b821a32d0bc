#pragma once
// Programs started for the Wine tests, their windows, and what they leave in the registry.
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tarnwell {

// By WM_GETTEXT, which also reads another program's controls (the binding's TextOf does not).
inline std::string WindowText(HWND window) {
  char text[1024] = {};
  SendMessageA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
  return text;
}

// A file's text; one in UTF-16 with a BOM, as the registry editor writes, made ANSI.
inline std::string FileText(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::string text{std::istreambuf_iterator<char>(in), {}}, narrow;
  for (std::size_t at = 2; text.starts_with("\xFF\xFE") && at < text.size(); at += 2) {
    narrow += text[at];
  }
  return narrow.empty() ? text : narrow;
}

// A Unix path (from the environment) as Wine's Z: drive names it.
inline std::string WindowsPath(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return "Z:" + path;
}

// The values below a key in a view, "key\name=type:bytes" each, the subkeys' included.
inline std::string RegistrySnapshot(HKEY root, REGSAM view, const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) {
    return {};
  }
  std::string out;
  char name[16384];
  std::vector<BYTE> data(65536);
  for (DWORD i = 0, length = sizeof(name), size = 65536, type = 0;
       RegEnumValueA(key, i, name, &length, nullptr, &type, data.data(), &size) == ERROR_SUCCESS;
       ++i, length = sizeof(name), size = 65536) {
    out += path + "\\" + std::string(name, length) + "=" + std::to_string(type) + ":" +
           std::string(data.begin(), data.begin() + size) + "\n";
  }
  for (DWORD i = 0, length = sizeof(name);
       RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
       ++i, length = sizeof(name)) {
    out += RegistrySnapshot(root, view, path + "\\" + std::string(name, length));
  }
  RegCloseKey(key);
  return out;
}

// A program started for a test; it is ended when the object goes if it still runs.
class RunningProgram {
 public:
  explicit RunningProgram(std::string command) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info_)) {
      info_ = {};
    }
  }
  ~RunningProgram() {
    TerminateProcess(info_.hProcess, 99);  // fails on one that ended or never started
    WaitForSingleObject(info_.hProcess, 5000);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  // The exit code after at most `milliseconds` (STILL_ACTIVE while it runs; 99: not started).
  DWORD ExitCode(DWORD milliseconds) const {
    DWORD code = 99;
    WaitForSingleObject(info_.hProcess, milliseconds);
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }

  // Its shown window of this class once it is idle; null if none came in time or it ended.
  HWND Shown(const char* window_class, DWORD milliseconds) const {
    for (const DWORD start = GetTickCount();
         GetTickCount() - start < milliseconds && WaitForSingleObject(info_.hProcess, 20) != 0;) {
      for (HWND found = FindWindowExA(nullptr, nullptr, window_class, nullptr); found;
           found = FindWindowExA(nullptr, found, window_class, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(found, &owner);
        if (owner == info_.dwProcessId && IsWindowVisible(found)) {
          WaitForInputIdle(info_.hProcess, 10000);
          return found;
        }
      }
    }
    return nullptr;
  }

 private:
  PROCESS_INFORMATION info_{};
};

}  // namespace tarnwell

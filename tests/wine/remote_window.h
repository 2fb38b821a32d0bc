#pragma once
// Programs started and driven from outside, and snapshots of what they leave behind.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ui/main_layout.h"

namespace tarnwell {

inline std::string WindowText(HWND window) {
  char text[1024] = {};
  SendMessageA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
  return text;
}

// A Unix path as Wine's Z: drive names it.
inline std::string WindowsPath(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return "Z:" + path;
}

// Everything below a registry key (`view` applied to every key opened), empty when it is
// missing: "[key]" for each key, "key\name=type:bytes" for each value.
inline std::string RegistrySnapshot(HKEY root, REGSAM view, const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) {
    return {};
  }
  std::string out = "[" + path + "]\n";
  char name[16384];
  std::vector<BYTE> data(65536);
  for (DWORD i = 0, length = sizeof(name), size = 65536, type = 0;
       RegEnumValueA(key, i, name, &length, nullptr, &type, data.data(), &size) == ERROR_SUCCESS;
       ++i, length = sizeof(name), size = 65536) {
    out += path + "\\" + std::string(name, length) + "=" + std::to_string(type) + ":" +
           std::string(data.begin(), data.begin() + size) + "\n";
  }
  std::vector<std::string> keys;
  for (DWORD i = 0, length = sizeof(name);
       RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
       ++i, length = sizeof(name)) {
    keys.emplace_back(name, length);
  }
  RegCloseKey(key);
  for (const std::string& sub : keys) {
    out += RegistrySnapshot(root, view, path + "\\" + sub);
  }
  return out;
}

// The names and sizes of every file and folder below `folder`, one line each.
inline std::string FileTreeSnapshot(const std::string& folder) {
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
    if (info_.hProcess != nullptr) {
      TerminateProcess(info_.hProcess, 99);  // fails on one that ended
      WaitForSingleObject(info_.hProcess, 5000);
      CloseHandle(info_.hThread);
      CloseHandle(info_.hProcess);
    }
  }
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  DWORD Id() const { return info_.dwProcessId; }
  HANDLE Process() const { return info_.hProcess; }
  // The exit code; 99 when the program did not start or still runs after `milliseconds`.
  DWORD ExitCode(DWORD milliseconds) const {
    DWORD code = 99;
    if (info_.hProcess == nullptr ||
        WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(info_.hProcess, &code)) {
      return 99;
    }
    return code;
  }

 private:
  PROCESS_INFORMATION info_{};
};

// Another process's window seen from outside, its controls found by their ids (the innermost
// of one id: the edit inside a combo box).
struct RemoteWindow {
  // The program's shown top-level window of this class once the program is idle; a null
  // handle when none came within `milliseconds` or the program ended.
  static RemoteWindow WaitFor(const RunningProgram& program, const char* window_class,
                              DWORD milliseconds) {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < milliseconds &&
                                             WaitForSingleObject(program.Process(), 20) != 0;) {
      for (HWND found = FindWindowExA(nullptr, nullptr, window_class, nullptr); found;
           found = FindWindowExA(nullptr, found, window_class, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(found, &owner);
        if (owner == program.Id() && IsWindowVisible(found)) {
          WaitForInputIdle(program.Process(), 10000);
          return {found};
        }
      }
    }
    return {nullptr};
  }

  HWND Control(ControlId id, HWND parent = nullptr) const {
    for (HWND child = GetWindow(parent ? parent : handle, GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
      if (HWND inner = Control(id, child); inner != nullptr || GetDlgCtrlID(child) == id) {
        return inner ? inner : child;
      }
    }
    return nullptr;
  }
  std::string Text(ControlId id) const { return WindowText(Control(id)); }
  // Clicks a button and waits until the click was handled; Press does not wait.
  void Click(ControlId id) const { SendMessageA(Control(id), BM_CLICK, 0, 0); }
  void Press(ControlId id) const { PostMessageA(Control(id), BM_CLICK, 0, 0); }
  // Selects a tab, whose page may make its controls only now.
  void ShowTab(int index) const {
    SendMessageA(Control(tform1::MainTabControl), TCM_SETCURFOCUS, index, 0);
  }

  HWND handle;
};

}  // namespace tarnwell

#include "wine/remote_window.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace tarnwell {

HWND ShownWindow(DWORD process, const char* window_class) {
  for (HWND window = FindWindowExA(nullptr, nullptr, window_class, nullptr); window != nullptr;
       window = FindWindowExA(nullptr, window, window_class, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == process && IsWindowVisible(window)) {
      return window;
    }
  }
  return nullptr;
}

std::string WindowsPath(const std::string& unix_path) {
  std::string path = "Z:" + unix_path;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::string RegistrySnapshot(HKEY root, REGSAM view, const std::string& path) {
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
    out += std::string(name, length) + "=" + std::to_string(type) + ":" +
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

RunningProgram::RunningProgram(const std::string& command_line) {
  std::string command = command_line;
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info_)) {
    info_ = {};
  }
}

RunningProgram::~RunningProgram() {
  if (info_.hProcess != nullptr) {
    if (WaitForSingleObject(info_.hProcess, 0) != WAIT_OBJECT_0) {
      TerminateProcess(info_.hProcess, 99);
      WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
}

std::optional<DWORD> RunningProgram::WaitForExit(DWORD milliseconds) {
  DWORD code = 0;
  if (info_.hProcess == nullptr ||
      WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(info_.hProcess, &code)) {
    return std::nullopt;
  }
  return code;
}

std::optional<RemoteWindow> RemoteWindow::WaitFor(const RunningProgram& program,
                                                  const char* window_class, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  HWND found = nullptr;
  while ((found = ShownWindow(program.Id(), window_class)) == nullptr) {
    if (GetTickCount() - start > milliseconds ||
        WaitForSingleObject(program.Process(), 20) == WAIT_OBJECT_0) {
      return std::nullopt;
    }
  }
  WaitForInputIdle(program.Process(), 10000);
  return RemoteWindow(found);
}

HWND RemoteWindow::Control(ControlId id, HWND parent) const {
  for (HWND child = GetWindow(parent == nullptr ? window_ : parent, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (HWND inner = Control(id, child); inner != nullptr) {
      return inner;
    }
    if (GetDlgCtrlID(child) == id) {
      return child;
    }
  }
  return nullptr;
}

std::string RemoteWindow::Text(ControlId id) const {
  char text[1024] = {};
  SendMessageA(Control(id), WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
  return text;
}

void RemoteWindow::Type(ControlId id, const std::string& text) const {
  SendMessageA(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
  for (char c : text) {
    SendMessageA(Control(id), WM_CHAR, static_cast<unsigned char>(c), 0);
  }
}

void RemoteWindow::ShowTab(ControlId tabs, int index) const {
  SendMessageA(Control(tabs), TCM_SETCURFOCUS, index, 0);
}

bool RemoteWindow::WaitUntilGone() const {
  for (int wait = 0; wait < 250 && IsWindow(window_) && IsWindowVisible(window_); ++wait) {
    Sleep(20);
  }
  return !IsWindow(window_) || !IsWindowVisible(window_);
}

}  // namespace tarnwell

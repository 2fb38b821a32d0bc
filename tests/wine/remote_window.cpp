#include "wine/remote_window.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace tarnwell {
namespace {

struct Search {
  DWORD process;
  const char* window_class;
  HWND found;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char name[128] = {};
  GetClassNameA(window, name, sizeof(name));
  if (owner == search->process && IsWindowVisible(window) &&
      std::string(name) == search->window_class) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CollectControl(HWND control, LPARAM data) {
  // A control inside another of the same id (the edit of a combo box) stands for both.
  (*reinterpret_cast<std::map<ControlId, HWND>*>(data))[GetDlgCtrlID(control)] = control;
  return TRUE;
}

void SnapshotKey(HKEY key, REGSAM view, const std::string& path, std::string& out) {
  out += "[" + path + "]\n";
  std::vector<char> name(16384);
  std::vector<BYTE> data(65536);
  for (DWORD index = 0, length = 16384, size = 65536, type = 0;
       RegEnumValueA(key, index, name.data(), &length, nullptr, &type, data.data(), &size) ==
       ERROR_SUCCESS;
       ++index, length = 16384, size = 65536) {
    out += std::string(name.data(), length) + "=" + std::to_string(type) + ":" +
           std::string(reinterpret_cast<const char*>(data.data()), size) + "\n";
  }
  for (DWORD index = 0, length = 16384; RegEnumKeyExA(key, index, name.data(), &length, nullptr,
                                                      nullptr, nullptr, nullptr) == ERROR_SUCCESS;
       ++index, length = 16384) {
    const std::string sub_name(name.data(), length);
    HKEY sub = nullptr;
    if (RegOpenKeyExA(key, sub_name.c_str(), 0, KEY_READ | view, &sub) == ERROR_SUCCESS) {
      SnapshotKey(sub, view, path + "\\" + sub_name, out);
      RegCloseKey(sub);
    }
  }
}

}  // namespace

HWND ShownWindow(DWORD process, const char* window_class) {
  Search search{process, window_class, nullptr};
  EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string WindowsPath(const std::string& unix_path) {
  std::string path = "Z:" + unix_path;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::string RegistrySnapshot(HKEY root, REGSAM view, const std::string& path) {
  std::string out;
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, &key) == ERROR_SUCCESS) {
    SnapshotKey(key, view, path, out);
    RegCloseKey(key);
  }
  return out;
}

std::string FileTreeSnapshot(const std::string& folder) {
  std::string out;
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
    const std::string name = found.cFileName, path = folder + "\\" + name;
    if (name == "." || name == "..") {
      continue;
    }
    const bool folder_entry = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    out += folder_entry ? path + "\\\n" + FileTreeSnapshot(path)
                        : path + " " + std::to_string(found.nFileSizeLow) + "\n";
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

RemoteWindow::RemoteWindow(HWND window) : window_(window) {
  FindControls();
}

void RemoteWindow::FindControls() {
  controls_.clear();
  EnumChildWindows(window_, CollectControl, reinterpret_cast<LPARAM>(&controls_));
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

HWND RemoteWindow::Control(ControlId id) const {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

std::string RemoteWindow::Text(ControlId id) const {
  char text[1024] = {};
  SendMessageA(Control(id), WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
  return text;
}

std::string RemoteWindow::MessageText() const {
  std::string message;
  for (const auto& [id, control] : controls_) {
    char name[32] = {};
    GetClassNameA(control, name, sizeof(name));
    if (_stricmp(name, "Static") == 0 && !Text(id).empty()) {
      message = Text(id);
    }
  }
  return message;
}

void RemoteWindow::Click(ControlId id) const {
  SendMessageA(Control(id), BM_CLICK, 0, 0);
}

void RemoteWindow::Type(ControlId id, const std::string& text) const {
  SendMessageA(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
  for (char c : text) {
    SendMessageA(Control(id), WM_CHAR, static_cast<unsigned char>(c), 0);
  }
}

void RemoteWindow::ShowTab(ControlId tabs, int index) {
  SendMessageA(Control(tabs), TCM_SETCURFOCUS, index, 0);
  FindControls();
}

bool RemoteWindow::WaitUntilGone() const {
  for (int wait = 0; wait < 250 && IsWindow(window_) && IsWindowVisible(window_); ++wait) {
    Sleep(20);
  }
  return !IsWindow(window_) || !IsWindowVisible(window_);
}

}  // namespace tarnwell

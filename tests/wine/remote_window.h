#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "ui/layout.h"

namespace tarnwell {

// A shown top-level window of this class that the process owns, or null.
HWND ShownWindow(DWORD process, const char* window_class);

// A Unix path as Wine's Z: drive names it.
std::string WindowsPath(const std::string& unix_path);

// Everything below a registry key (`view` applied to every key opened), values with their
// types and bytes, one line each; empty when the key is missing.
std::string RegistrySnapshot(HKEY root, REGSAM view, const std::string& path);

// The names and sizes of every file and folder below `folder`, one line each.
std::string FileTreeSnapshot(const std::string& folder);

// A program started for a test; it is ended when the object goes if it still runs.
class RunningProgram {
 public:
  explicit RunningProgram(const std::string& command_line);
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  bool Started() const { return info_.hProcess != nullptr; }
  DWORD Id() const { return info_.dwProcessId; }
  HANDLE Process() const { return info_.hProcess; }
  // The exit code, or nothing when the program still runs after `milliseconds`.
  std::optional<DWORD> WaitForExit(DWORD milliseconds);

 private:
  PROCESS_INFORMATION info_{};
};

// Another process's window seen from outside, its controls found by their ids (the innermost
// of one id: the edit inside a combo box).
class RemoteWindow {
 public:
  // Waits until the process shows a top-level window of this class and is idle.
  static std::optional<RemoteWindow> WaitFor(const RunningProgram& program,
                                             const char* window_class, DWORD milliseconds);

  HWND Handle() const { return window_; }
  HWND Control(ControlId id, HWND parent = nullptr) const;
  std::string Text(ControlId id) const;
  // The message of a message box.
  std::string MessageText() const { return Text(0xFFFF); }
  // Clicks a button and waits until the click was handled; Press does not wait.
  void Click(ControlId id) const { SendMessageA(Control(id), BM_CLICK, 0, 0); }
  void Press(ControlId id) const { PostMessageA(Control(id), BM_CLICK, 0, 0); }
  // Replaces an edit's text as typing does.
  void Type(ControlId id, const std::string& text) const;
  // Selects a tab, whose page may make its controls only now.
  void ShowTab(ControlId tabs, int index) const;
  // Whether the window was closed or hidden within five seconds.
  bool WaitUntilGone() const;

 private:
  explicit RemoteWindow(HWND window) : window_(window) {}
  HWND window_;
};

}  // namespace tarnwell

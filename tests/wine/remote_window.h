#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ui/layout.h"

namespace tarnwell {

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

// Another process's window seen from outside, its controls found by their ids.
class RemoteWindow {
 public:
  // Waits until the process shows a top-level window of this class and is idle.
  static std::optional<RemoteWindow> WaitFor(const RunningProgram& program,
                                             const char* window_class, DWORD milliseconds);

  HWND Handle() const { return window_; }
  // Looks for the window's controls again, after more of them were made.
  void FindControls();
  HWND Control(ControlId id) const;
  std::string Text(ControlId id) const;
  bool Enabled(ControlId id) const;
  bool Checked(ControlId id) const;
  std::vector<std::string> Items(ControlId list) const;
  void Select(ControlId list, int index) const;
  // The message of a message box.
  std::string MessageText() const;
  RECT ClientRect(ControlId id) const;
  // The colour painted inside a control, a few pixels in from its top-left corner, once
  // it has settled on one of `expected` (or what it shows after a while).
  COLORREF InnerColour(ControlId id, COLORREF expected) const;
  void Click(ControlId id) const;
  void Type(ControlId id, const std::string& text) const;
  // Selects a tab, whose page may make its controls only now.
  void ShowTab(ControlId tabs, int index);

 private:
  explicit RemoteWindow(HWND window);
  HWND window_;
  std::map<ControlId, HWND> controls_;
};

// A Unix path as Wine's Z: drive names it.
std::string WindowsPath(const std::string& unix_path);

}  // namespace tarnwell

#pragma once

#include <windows.h>

#include <commctrl.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ui/layout.h"

namespace tarnwell {

// A shown top-level window of this class that the process owns, or null.
HWND ShownWindow(DWORD process, const char* window_class);

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

// A tree view of another process, which must have this process's bitness: the structures
// its messages point to are written into the other process's memory.
class RemoteTree {
 public:
  RemoteTree(HWND tree, DWORD process_id);
  ~RemoteTree();
  RemoteTree(const RemoteTree&) = delete;
  RemoteTree& operator=(const RemoteTree&) = delete;

  HTREEITEM Root() const;
  // The child with this text, its parent expanded first; null when there is none.
  HTREEITEM Child(HTREEITEM parent, const std::string& text) const;
  std::string Text(HTREEITEM item) const;
  // Selects the item, as a first click does, and double-clicks its text.
  void DoubleClick(HTREEITEM item) const;

 private:
  HWND tree_;
  HANDLE process_;
  void* memory_;  // in the other process: a structure, then a text buffer
};

// A Unix path as Wine's Z: drive names it.
std::string WindowsPath(const std::string& unix_path);

}  // namespace tarnwell

#pragma once

#include <windows.h>

#include "platform/win32/library.h"
#include "ui/dialogs.h"
#include "ui/win32/pictures.h"
#include "ui/win32/shell_tree.h"

namespace tarnwell {

// Message boxes owned by the program's active window: the kind's icon and caption, OK or
// Yes and No. The standard error box carries the application title. Secondary windows are
// built from their layouts and shown modally over the active window, which is the one
// whose handler asks for them.
class Win32Dialogs final : public Dialogs {
 public:
  Win32Dialogs(HINSTANCE instance, PictureSource* pictures, ShellNamespace* shell = nullptr)
      : instance_(instance), pictures_(pictures), shell_(shell) {}
  void SetOwner(HWND owner) { owner_ = owner; }

  Answer Message(MessageKind kind, std::string_view text) override;
  void ShowError(std::string_view text) override;
  void ShowModal(const WindowLayout& layout, const WindowLogic& logic) override;
  std::optional<std::string> OpenFile(const FileDialogOptions& options) override;
  std::optional<std::string> SaveFile(const FileDialogOptions& options) override;

 private:
  // The program's active window, or the main window when none of its windows is active.
  HWND Owner() const;
  std::optional<std::string> FileDialog(const FileDialogOptions& options, bool save);

  HINSTANCE instance_;
  PictureSource* pictures_;
  ShellNamespace* shell_;
  HWND owner_ = nullptr;
  Library comdlg32_{"comdlg32.dll"};
};

}  // namespace tarnwell

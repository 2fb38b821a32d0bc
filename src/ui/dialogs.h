#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tarnwell {

class EventSink;
class Form;
struct WindowLayout;

// Makes a secondary window's logic for its form: its construction fills the window, and
// it receives the window's events until the window closes.
using WindowLogic = std::function<std::unique_ptr<EventSink>(Form& form)>;

// A confirmation asks Yes or No with Yes as the default button; ConfirmationDefaultNo is
// one whose safe answer, the default, is No.
enum class MessageKind { Warning, Information, Error, Confirmation, ConfirmationDefaultNo };
enum class Answer { Ok, Yes, No };

std::string_view MessageKindName(MessageKind kind);  // "warning", "information", ...
bool AsksYesOrNo(MessageKind kind);

// A file dialog's settings. The filter is pairs of description and pattern, every item
// separated by "|"; the default extension has its leading dot.
struct FileDialogOptions {
  std::string_view title;
  std::string_view file_name = {};  // empty: no name proposed
  std::string_view default_extension;
  std::string_view filter;
  std::string_view initial_folder = {};  // empty: the dialog's own choice
};

// The program's modal messages and windows: one message box whose kind chooses its icon
// and buttons (OK, or Yes and No for a confirmation), the standard error box for errors
// raised by registry reads, and secondary windows shown modally, each made anew.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual Answer Message(MessageKind kind, std::string_view text) = 0;
  virtual void ShowError(std::string_view text) = 0;
  virtual void ShowModal(const WindowLayout& layout, const WindowLogic& logic) = 0;
  // The open-file dialog, with the read-only box hidden, resizable, and no test that the
  // file exists: the chosen path, or nothing when cancelled.
  virtual std::optional<std::string> OpenFile(const FileDialogOptions& options) = 0;
  // The save-file dialog, which asks before an existing file is replaced, with the read-only
  // box hidden and resizable: the chosen path, or nothing when cancelled.
  virtual std::optional<std::string> SaveFile(const FileDialogOptions& options) = 0;
};

}  // namespace tarnwell

#pragma once

#include <string_view>

namespace tarnwell {

enum class MessageKind { Warning, Information, Error, Confirmation };
enum class Answer { Ok, Yes, No };

std::string_view MessageKindName(MessageKind kind);  // "warning", "information", ...

// The program's modal messages: one message box whose kind chooses its icon and buttons
// (OK, or Yes and No for a confirmation), and the standard error box for errors raised by
// registry reads.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual Answer Message(MessageKind kind, std::string_view text) = 0;
  virtual void ShowError(std::string_view text) = 0;
};

}  // namespace tarnwell

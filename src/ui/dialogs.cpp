#include "ui/dialogs.h"

namespace tarnwell {

std::string_view MessageKindName(MessageKind kind) {
  switch (kind) {
    case MessageKind::Warning:
      return "warning";
    case MessageKind::Information:
      return "information";
    case MessageKind::Error:
      return "error";
    case MessageKind::Confirmation:
      return "confirmation";
    case MessageKind::ConfirmationDefaultNo:
      return "confirmation, No by default";
  }
  return "message";
}

bool AsksYesOrNo(MessageKind kind) {
  return kind == MessageKind::Confirmation || kind == MessageKind::ConfirmationDefaultNo;
}

}  // namespace tarnwell

#include "ui/win32/win32_dialogs.h"

#include <string>

#include "ui/application.h"

namespace tarnwell {

Answer Win32Dialogs::Message(MessageKind kind, std::string_view text) {
  struct Look {
    const char* caption;
    UINT flags;
  };
  const Look look = kind == MessageKind::Warning ? Look{"Warning", MB_ICONWARNING | MB_OK}
                    : kind == MessageKind::Information
                        ? Look{"Information", MB_ICONINFORMATION | MB_OK}
                    : kind == MessageKind::Error ? Look{"Error", MB_ICONERROR | MB_OK}
                                                 : Look{"Confirm", MB_ICONQUESTION | MB_YESNO};
  const std::string message(text);
  const int answer = MessageBoxA(owner_, message.c_str(), look.caption, look.flags);
  if (kind != MessageKind::Confirmation) {
    return Answer::Ok;
  }
  return answer == IDYES ? Answer::Yes : Answer::No;
}

void Win32Dialogs::ShowError(std::string_view text) {
  const std::string message(text);
  const std::string title(kApplicationTitle);
  MessageBoxA(owner_, message.c_str(), title.c_str(), MB_ICONERROR | MB_OK);
}

}  // namespace tarnwell

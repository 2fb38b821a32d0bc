#include "ui/win32/win32_dialogs.h"

#include <string>

#include "ui/application.h"
#include "ui/win32/window.h"

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

void Win32Dialogs::ShowModal(const WindowLayout& layout, const WindowLogic& logic) {
  Win32Window window(layout, {instance_, owner_, pictures_, false});
  if (window.Handle() == nullptr) {
    return;
  }
  std::unique_ptr<EventSink> sink = logic(window);
  window.Connect(sink.get(), this);
  // Messages shown while it is open belong to it.
  const HWND owner = owner_;
  owner_ = window.Handle();
  window.RunModal();
  owner_ = owner;
}

}  // namespace tarnwell

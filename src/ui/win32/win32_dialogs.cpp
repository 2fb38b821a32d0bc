#include "ui/win32/win32_dialogs.h"

#include <commdlg.h>

#include <algorithm>
#include <string>

#include "ui/application.h"
#include "ui/win32/window.h"

namespace tarnwell {

HWND Win32Dialogs::Owner() const {
  HWND active = GetActiveWindow();
  return active != nullptr ? active : owner_;
}

Answer Win32Dialogs::Message(MessageKind kind, std::string_view text) {
  struct Look {
    const char* caption;
    UINT flags;
  };
  const Look look = kind == MessageKind::Warning ? Look{"Warning", MB_ICONWARNING | MB_OK}
                    : kind == MessageKind::Information
                        ? Look{"Information", MB_ICONINFORMATION | MB_OK}
                    : kind == MessageKind::Error ? Look{"Error", MB_ICONERROR | MB_OK}
                    : kind == MessageKind::Confirmation
                        ? Look{"Confirm", MB_ICONQUESTION | MB_YESNO}
                        : Look{"Confirm", MB_ICONQUESTION | MB_YESNO | MB_DEFBUTTON2};
  const std::string message(text);
  const int answer = MessageBoxA(Owner(), message.c_str(), look.caption, look.flags);
  if (!AsksYesOrNo(kind)) {
    return Answer::Ok;
  }
  return answer == IDYES ? Answer::Yes : Answer::No;
}

void Win32Dialogs::ShowError(std::string_view text) {
  const std::string message(text);
  const std::string title(kApplicationTitle);
  MessageBoxA(Owner(), message.c_str(), title.c_str(), MB_ICONERROR | MB_OK);
}

void Win32Dialogs::ShowModal(const WindowLayout& layout, const WindowLogic& logic) {
  Win32Window window(layout, {instance_, Owner(), pictures_, false, false, shell_});
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

std::optional<std::string> Win32Dialogs::OpenFile(const FileDialogOptions& options) {
  return FileDialog(options, false);
}

std::optional<std::string> Win32Dialogs::SaveFile(const FileDialogOptions& options) {
  return FileDialog(options, true);
}

std::optional<std::string> Win32Dialogs::FileDialog(const FileDialogOptions& options, bool save) {
  // The dialog wants its filter's items separated and ended by NULs, and the extension
  // without its dot.
  std::string filter(options.filter);
  std::replace(filter.begin(), filter.end(), '|', '\0');
  filter.append(2, '\0');
  std::string extension(options.default_extension);
  if (!extension.empty() && extension.front() == '.') {
    extension.erase(0, 1);
  }
  const std::string title(options.title);
  const std::string folder(options.initial_folder);
  std::string file(options.file_name);
  file.resize(std::max<std::size_t>(file.size() + 1, MAX_PATH), '\0');

  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = Owner();
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrTitle = title.c_str();
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  dialog.Flags =
      OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | (save ? OFN_OVERWRITEPROMPT : 0);
  auto show =
      comdlg32_.Get<decltype(&GetOpenFileNameA)>(save ? "GetSaveFileNameA" : "GetOpenFileNameA");
  if (show == nullptr || !show(&dialog)) {
    return std::nullopt;
  }
  return std::string(file.c_str());
}

}  // namespace tarnwell

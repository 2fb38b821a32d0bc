#include "platform/win32/win32_shell.h"

#include <shellapi.h>

#include <string>

namespace tarnwell {

// The window whose handler asks, which is the active one: the main window, or the About
// window for its mail link.
HWND Win32Shell::Owner() const {
  HWND active = GetActiveWindow();
  return active != nullptr ? active : owner_;
}

std::intptr_t Win32Shell::Execute(std::string_view verb, std::string_view file,
                                  std::string_view parameters, std::string_view folder, int show) {
  const std::string verb_text(verb);
  const std::string file_text(file);
  const std::string parameters_text(parameters);
  const std::string folder_text(folder);
  auto shell_execute = shell32_.Get<decltype(&ShellExecuteA)>("ShellExecuteA");
  if (shell_execute == nullptr) {
    return SE_ERR_DLLNOTFOUND;
  }
  HINSTANCE result = shell_execute(Owner(), verb_text.c_str(), file_text.c_str(),
                                   parameters.empty() ? nullptr : parameters_text.c_str(),
                                   folder.empty() ? nullptr : folder_text.c_str(), show);
  return reinterpret_cast<std::intptr_t>(result);
}

Shell::Ran Win32Shell::RunAndWait(std::string_view file, std::string_view parameters, int show,
                                  unsigned milliseconds) {
  const std::string file_text(file);
  const std::string parameters_text(parameters);
  auto shell_execute_ex = shell32_.Get<decltype(&ShellExecuteExA)>("ShellExecuteExA");
  SHELLEXECUTEINFOA run{};
  run.cbSize = sizeof(run);
  run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  run.hwnd = owner_;
  run.lpVerb = "open";
  run.lpFile = file_text.c_str();
  run.lpParameters = parameters.empty() ? nullptr : parameters_text.c_str();
  run.nShow = show;
  if (shell_execute_ex == nullptr || !shell_execute_ex(&run) || run.hProcess == nullptr) {
    return Ran::NotStarted;
  }
  // The owner is disabled, so it takes no input, while its messages still flow and it
  // paints.
  const bool was_enabled = owner_ != nullptr && EnableWindow(owner_, FALSE) == FALSE;
  const DWORD start = GetTickCount();
  Ran ran = Ran::StillRunning;
  for (;;) {
    const DWORD spent = GetTickCount() - start;
    if (spent >= milliseconds) {
      break;
    }
    const DWORD woken =
        MsgWaitForMultipleObjects(1, &run.hProcess, FALSE, milliseconds - spent, QS_ALLINPUT);
    if (woken == WAIT_OBJECT_0) {
      ran = Ran::Ended;
      break;
    }
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(message.wParam));
        break;
      }
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  if (was_enabled) {
    EnableWindow(owner_, TRUE);
  }
  CloseHandle(run.hProcess);
  return ran;
}

}  // namespace tarnwell

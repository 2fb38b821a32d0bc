#include "platform/win32/win32_shell.h"

#include <shellapi.h>

#include <string>

namespace tarnwell {

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
  HINSTANCE result = shell_execute(owner_, verb_text.c_str(), file_text.c_str(),
                                   parameters.empty() ? nullptr : parameters_text.c_str(),
                                   folder.empty() ? nullptr : folder_text.c_str(), show);
  return reinterpret_cast<std::intptr_t>(result);
}

}  // namespace tarnwell

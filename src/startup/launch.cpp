#include "startup/launch.h"

#include <algorithm>
#include <string>

#include "startup/command_line_catalogue.h"
#include "ui/main_layout.h"

namespace tarnwell {
namespace {

using namespace tform1;

constexpr std::string_view kSelectAnOption =
    "You must click on a command-line option in the list to continue.";
constexpr std::string_view kArgumentRequired =
    "The command-line option you have selected requires an option argument to continue.  Please "
    "enter the correct information in the Addtional Option Argument field.";
constexpr std::string_view kOutlookRunning =
    "Microsoft Outlook is currently running. Please close the application and try again.";
constexpr std::string_view kNoExecutable =
    "The location of Microsoft Outlook could not be found, so Outlook cannot be started.";
constexpr std::string_view kCreateProcessFailed =
    "The attempt to launch Outlook using 64-bit Windows returned the error code : ";
constexpr std::string_view kShellFailed =
    "The attempt to launch Outlook in 32-bit Windows returned the error code : ";

// CREATE_NEW_PROCESS_GROUP | NORMAL_PRIORITY_CLASS
constexpr std::uint32_t kCreationFlags = 0x200 | 0x20;

std::string MissingFile(std::string_view path) {
  return "The file specified : (" + std::string(path) + ") does not exist.  Please try again.";
}

// The switch: the list text up to its placeholder, which leaves the blank before it.
std::string SwitchPart(std::string_view list_text) {
  return std::string(list_text.substr(0, list_text.find('<')));
}

}  // namespace

bool CheckProcesses(Processes& processes, std::string_view image_name) {
  const auto running = processes.Running();
  if (!running) {
    return false;
  }
  return std::any_of(running->begin(), running->end(), [&](const Processes::Entry& entry) {
    return entry.id != 0 && entry.image == image_name;
  });
}

void LaunchOutlook(Form& form, const Services& services, const AppState& state) {
  auto warn = [&](std::string_view text) { services.dialogs.Message(MessageKind::Warning, text); };
  const int index = form.Selected(lbCLOptions);
  const auto& catalogue = CommandLineOptionCatalogue();
  if (index < 0 || index >= static_cast<int>(catalogue.size())) {
    return warn(kSelectAnOption);
  }
  std::string command_tail = SwitchPart(catalogue[static_cast<std::size_t>(index)].list_text);

  if (form.Enabled(edArgument)) {
    const std::string text = form.Text(edArgument);
    if (text.empty()) {
      return warn(kArgumentRequired);
    }
    std::string argument = text;
    if (form.Enabled(btnBrowse6)) {
      if (!services.file_system.FileExists(text)) {
        return warn(MissingFile(text));
      }
      argument = "\"" + text + "\"";
    }
    // "/a" and "/share" have no placeholder: they get the blank the others have.
    if (command_tail.back() != ' ') {
      command_tail += ' ';
    }
    command_tail += argument;
  }

  if (CheckProcesses(services.processes, "OUTLOOK.EXE")) {
    return warn(kOutlookRunning);
  }

  const LoadedSettings& loaded = state.Loaded;
  if (state.Is64BitWindows) {
    // The path goes in quotes whichever load ran: unquoted, a path with blanks would let
    // CreateProcessA try "C:\Program.exe" and the like first.
    const std::string& path =
        state.Use32BitReadPath ? loaded.OutlookExePathQuoted : loaded.OutlookExePath;
    if (path.empty()) {
      return warn(kNoExecutable);
    }
    const std::string quoted = path.front() == '"' ? path : "\"" + path + "\"";
    const auto started = services.processes.Start(quoted + " " + command_tail, kCreationFlags);
    if (!started.ok) {
      services.dialogs.Message(MessageKind::Error,
                               std::string(kCreateProcessFailed) + std::to_string(started.error));
    }
    return;
  }
  if (loaded.OutlookExePathQuoted.empty()) {
    return warn(kNoExecutable);
  }
  const auto result =
      services.shell.Execute("open", loaded.OutlookExePathQuoted, command_tail, {}, kShowNormal);
  if (result <= 32) {
    services.dialogs.Message(MessageKind::Error,
                             std::string(kShellFailed) + std::to_string(result));
  }
}

}  // namespace tarnwell

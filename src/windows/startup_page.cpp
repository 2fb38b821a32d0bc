// The "Startup Options" page of the main window: the switches, their notes and arguments,
// and Outlook started with the chosen one.
#include "windows/startup_page.h"

#include "startup/command_line_catalogue.h"
#include "startup/launch.h"
#include "ui/main_layout.h"
#include "windows/main_window.h"

namespace tarnwell {
namespace {

using namespace tform1;

const CommandLineOption* SelectedOption(const Form& form) {
  const int index = form.Selected(lbCLOptions);
  const auto& catalogue = CommandLineOptionCatalogue();
  return index >= 0 && index < static_cast<int>(catalogue.size())
             ? &catalogue[static_cast<std::size_t>(index)]
             : nullptr;
}

}  // namespace

void FillCommandLineOptions(Form& form) {
  for (const auto& option : CommandLineOptionCatalogue()) {
    form.AddItem(lbCLOptions, option.list_text);
  }
}

void ShowCommandLineOption(Form& form, OfficeVersion version) {
  form.ClearLines(mDescription);
  // An argument typed for the switch chosen before goes with it.
  form.SetText(edArgument, "");
  if (const CommandLineOption* option = SelectedOption(form)) {
    if (const std::string_view note = VersionNoteText(*option, version); !note.empty()) {
      form.AddLine(mDescription, note);
      form.AddLine(mDescription, "");
    }
    for (std::string_view line : option->description) {
      form.AddLine(mDescription, line);
    }
    const bool takes_argument = option->argument != ArgumentKind::None;
    form.SetEnabled(edArgument, takes_argument);
    form.SetColour(edArgument, takes_argument ? FieldColour::Window : FieldColour::Silver);
    form.SetEnabled(btnBrowse6, option->argument == ArgumentKind::File);
    form.SetEnabled(btnLaunchOutlook, LaunchAllowed(*option, version));
  }
  form.ShowFirstLine(mDescription);
}

void BrowseForArgument(Form& form, Dialogs& dialogs) {
  const CommandLineOption* option = SelectedOption(form);
  if (option == nullptr) {
    return;
  }
  // Every browse starts from the same name, not from the previous choice.
  const auto chosen = dialogs.OpenFile(
      {"Outlook Startup Options", "Outlook-Option", option->default_extension, option->filter});
  if (chosen) {
    form.SetText(edArgument, *chosen);
  }
}

void MainWindow::lbCLOptionsClick() {
  ShowCommandLineOption(form_, state_.OutlookVersion.MajorVersion);
}

void MainWindow::btnBrowse6Click() {
  BrowseForArgument(form_, services_.dialogs);
}

void MainWindow::btnLaunchOutlookClick() {
  LaunchOutlook(form_, services_, state_);
}

}  // namespace tarnwell

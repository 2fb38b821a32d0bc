// The "Default Paths" page of the main window: the five folder fields' Browse buttons, the
// attachment folder's revert and its view in the shell.
#include "settings/revert.h"
#include "ui/main_layout.h"
#include "windows/folder_picker.h"
#include "windows/main_window.h"

namespace tarnwell {
namespace {

using namespace tform1;

constexpr std::string_view kAttachmentPathEmpty =
    "The attachment default path field is empty. A possible reason is that you have not yet "
    "opened an attachment in Outlook to create this temporary folder.";
constexpr std::string_view kAttachmentPathMissing = "The attachment default path does not exist.";

}  // namespace

void MainWindow::BrowseFor(ControlId field) {
  if (std::optional<std::string> folder = ShowFolderPicker(services_.dialogs)) {
    form_.SetText(field, *folder);
    form_.SetEnabled(btnSave, true);
    form_.SetModified(field, true);
  }
}

void MainWindow::btnBrowse1Click() {
  BrowseFor(edAttachmentPath);
}

void MainWindow::btnBrowse2Click() {
  BrowseFor(edPSTPath);
}

void MainWindow::btnBrowse3Click() {
  BrowseFor(edSaveAttPath);
}

void MainWindow::btnBrowse4Click() {
  BrowseFor(edOSTPath);
}

void MainWindow::btnBrowse5Click() {
  BrowseFor(edDocCachePath);
}

void MainWindow::btnRevertClick() {
  RevertAttachmentPath(form_, services_.registry, state_);
}

// Opens the attachment folder that the field names now in the shell, or says why it cannot.
void MainWindow::btnViewFolderClick() {
  const std::string path = form_.Text(edAttachmentPath);
  if (path.empty()) {
    services_.dialogs.Message(MessageKind::Warning, kAttachmentPathEmpty);
    return;
  }
  if (!services_.file_system.FolderExists(path)) {
    services_.dialogs.Message(MessageKind::Warning, kAttachmentPathMissing);
    return;
  }
  services_.shell.Execute("explore", path, {}, {}, kShowNormal);
}

}  // namespace tarnwell

// The "Attachment Security" page of the main window: the two lists and the buttons that
// move extensions between them.
#include "windows/attachment_page.h"

#include <memory>

#include "attachments/allow_list.h"
#include "ui/descriptions_layout.h"
#include "ui/main_layout.h"
#include "windows/descriptions_window.h"
#include "windows/main_window.h"

namespace tarnwell {

using namespace tform1;

void FillAttachmentLists(Form& form, std::string_view level1remove) {
  const AttachmentLists lists = SplitByAllowList(level1remove);
  for (std::string_view extension : lists.blocked) {
    form.AddItem(lbBlocked, extension);
  }
  for (std::string_view extension : lists.allowed) {
    form.AddItem(lbAllowed, extension);
  }
}

void MoveSelectedItem(Form& form, Dialogs& dialogs, ControlId from, ControlId to,
                      std::string_view nothing_selected) {
  const int index = form.Selected(from);
  if (index < 0) {
    dialogs.Message(MessageKind::Information, nothing_selected);
    return;
  }
  const std::string item = form.Items(from)[static_cast<std::size_t>(index)];
  if (item.empty()) {
    return;
  }
  form.AddItem(to, item);
  form.DeleteItem(from, index);
  form.Select(from, index);
}

void MoveAllItems(Form& form, ControlId from, ControlId to) {
  for (const auto& item : form.Items(from)) {
    form.AddItem(to, item);
  }
  form.ClearItems(from);
  form.Select(to, 0);
}

void MainWindow::btnAddOneClick() {
  MoveSelectedItem(form_, services_.dialogs, lbBlocked, lbAllowed,
                   "There is no item selected in the blocked list.");
}

void MainWindow::btnAddAllClick() {
  MoveAllItems(form_, lbBlocked, lbAllowed);
}

void MainWindow::btnDelOneClick() {
  MoveSelectedItem(form_, services_.dialogs, lbAllowed, lbBlocked,
                   "There is no item selected in the allowed list.");
}

void MainWindow::btnDelAllClick() {
  MoveAllItems(form_, lbAllowed, lbBlocked);
}

void MainWindow::btnSecHelpClick() {
  services_.dialogs.ShowModal(DescriptionsWindowLayout(), [](Form& form) {
    return std::make_unique<DescriptionsWindow>(form);
  });
}

}  // namespace tarnwell

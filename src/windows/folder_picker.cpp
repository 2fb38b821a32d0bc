#include "windows/folder_picker.h"

#include <array>
#include <memory>

#include "ui/folder_picker_layout.h"

namespace tarnwell {
namespace {

using namespace tform4;

constexpr auto kEvents = std::to_array<EventRow<FolderPicker>>({
    {JamShellTree1, Event::DoubleClick, &FolderPicker::JamShellTree1DblClick},
    {btnCancel, Event::Click, &FolderPicker::btnCancelClick},
});

}  // namespace

void FolderPicker::OnEvent(ControlId id, Event event) {
  Route<FolderPicker>(*this, kEvents, id, event);
}

void FolderPicker::JamShellTree1DblClick() {
  std::string path = form_.Text(JamShellTree1);
  if (path.empty()) {
    return;
  }
  if (path.back() != '\\') {
    path += '\\';
  }
  chosen_ = std::move(path);
  form_.Close();
}

void FolderPicker::btnCancelClick() {
  form_.Close();
}

std::optional<std::string> ShowFolderPicker(Dialogs& dialogs) {
  std::optional<std::string> chosen;
  dialogs.ShowModal(FolderPickerLayout(),
                    [&chosen](Form& form) { return std::make_unique<FolderPicker>(form, chosen); });
  return chosen;
}

}  // namespace tarnwell

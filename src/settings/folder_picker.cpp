#include "settings/folder_picker.h"

#include <array>
#include <memory>

#include "ui/folder_picker_layout.h"
#include "ui/main_layout.h"
#include "ui/places_layout.h"

namespace tarnwell {
namespace {

struct TargetField {
  int target;
  Form* AppState::*window;
  ControlId field;
};

constexpr auto kTargetFields = std::to_array<TargetField>({
    {kBrowseAttachmentPath, &AppState::MainForm, tform1::edAttachmentPath},
    {kBrowsePstPath, &AppState::MainForm, tform1::edPSTPath},
    {kBrowseSaveAttachmentPath, &AppState::MainForm, tform1::edSaveAttPath},
    {kBrowseLocationPath, &AppState::LocationEntry, form6::edLocPath},
    {kBrowseOstPath, &AppState::MainForm, tform1::edOSTPath},
    {kBrowseDocCachePath, &AppState::MainForm, tform1::edDocCachePath},
});

}  // namespace

void FolderPicker::OnEvent(ControlId id, Event event) {
  if (id == tform4::JamShellTree1 && event == Event::DoubleClick) {
    JamShellTree1DblClick();
  } else if (id == tform4::btnCancel && event == Event::Click) {
    form_.Close();
  }
}

void FolderPicker::JamShellTree1DblClick() {
  std::string path = form_.Text(tform4::JamShellTree1);
  if (path.empty()) {
    return;
  }
  if (path.back() != '\\') {
    path += '\\';
  }
  for (const auto& [target, window, field] : kTargetFields) {
    if (target == state_.BrowseTarget && state_.*window != nullptr) {
      (state_.*window)->SetText(field, path);
    }
  }
  if (state_.MainForm != nullptr) {
    state_.MainForm->SetEnabled(tform1::btnSave, true);
  }
  form_.Close();
  ++state_.BrowseCount;
}

void ShowFolderPicker(Dialogs& dialogs, AppState& state) {
  dialogs.ShowModal(FolderPickerLayout(),
                    [&state](Form& form) { return std::make_unique<FolderPicker>(form, state); });
}

}  // namespace tarnwell

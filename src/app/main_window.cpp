#include "app/main_window.h"

#include <array>

#include "app/windows_environment.h"
#include "platform/registry_object.h"
#include "settings/detection.h"
#include "ui/main_layout.h"

namespace tarnwell {
namespace {

using namespace tform1;

struct Disabled {
  ControlId id;
  bool silver;
};

// The controls of the no-Outlook state, in the order they are disabled.
constexpr auto kDisableAllItems = std::to_array<Disabled>({
    {edAttachmentPath, true},  {btnRevert, false},       {btnViewFolder, false},
    {btnBrowse1, false},       {edPSTPath, true},        {btnBrowse2, false},
    {edOSTPath, true},         {btnBrowse4, false},      {edSaveAttPath, true},
    {btnBrowse3, false},       {edArgument, true},       {btnBrowse6, false},
    {btnLaunchOutlook, false}, {btnAddOne, false},       {btnAddAll, false},
    {btnDelOne, false},        {btnDelAll, false},       {btnSecHelp, false},
    {btnScanPST, false},       {btnAddins, false},       {btnSaveUserInfo, false},
    {btnCustomPlaces, false},  {cbMinToSysTray, false},  {cbReadAsPlain, false},
    {cbSaveMIME, false},       {cbShowClipboard, false}, {cbEnableDEP, false},
    {cbDumpster, false},       {cbBGSave, false},        {lblTransfer, false},
    {cbDisablePST, false},     {cbPOP3, false},          {cbIMAP, false},
    {cbExchange, false},       {cbHTTP, false},          {cbOther, false},
    {btnSave, false},
});
static_assert(kDisableAllItems.size() == 37);

}  // namespace

void MainWindow::FormCreate() {
  try {
    StartUp();
  } catch (const RegistryError& error) {
    services_.dialogs.ShowError(error.what());
    EnterNoOutlookState();
  }
  state_.LoadComplete = true;
}

void MainWindow::StartUp() {
  state_.LoadComplete = false;
  state_.OutlookVersion.Found = false;
  state_.Use32BitReadPath = false;
  state_.Is64BitWindows = false;
  state_.IsWindows8 = false;

  state_.Is64BitWindows = ReadIs64BitWindows(services_.registry);
  state_.IsWindows8 = ReadIsWindows8(services_.registry);
  GetOutlookVersion(services_.registry, form_, state_.OutlookVersion);

  if (!state_.OutlookVersion.Found) {
    form_.SetText(pOutlookVersion, kNotInstalledText);
    DisableAllItems();
  } else {
    state_.Use32BitReadPath = ChooseUse32BitReadPath(state_.Is64BitWindows, state_.OutlookVersion);
  }
}

void MainWindow::DisableAllItems() {
  for (const auto& [id, silver] : kDisableAllItems) {
    form_.SetEnabled(id, false);
    if (silver) {
      form_.SetColour(id, FieldColour::Silver);
    }
  }
}

// After a failed start-up the window must not offer to save values that were never read,
// nor tools that rely on a half-detected installation: it becomes the no-Outlook window.
void MainWindow::EnterNoOutlookState() {
  state_.OutlookVersion = OutlookVersionInfo{};
  state_.Use32BitReadPath = false;
  form_.SetText(pOutlookVersion, kNotInstalledText);
  DisableAllItems();
}

void MainWindow::OnEvent(ControlId id, Event event) {
  if (event != Event::Click) {
    return;
  }
  switch (id) {
    case btnExit:
      btnExitClick();
      break;
    default:
      break;
  }
}

// Ends the program at once: no question, nothing written.
void MainWindow::btnExitClick() {
  form_.Close();
}

}  // namespace tarnwell

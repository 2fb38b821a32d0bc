#include "app/main_window.h"

#include <array>

#include "app/windows_environment.h"
#include "attachments/allow_list.h"
#include "attachments/descriptions_window.h"
#include "attachments/list_moves.h"
#include "platform/registry_object.h"
#include "settings/detection.h"
#include "settings/folder_picker.h"
#include "settings/load.h"
#include "settings/path_fields.h"
#include "settings/save.h"
#include "startup/launch.h"
#include "startup/options_page.h"
#include "tools/about.h"
#include "tools/addins.h"
#include "tools/custom_places.h"
#include "tools/profile_export.h"
#include "tools/repair_tool.h"
#include "ui/about_layout.h"
#include "ui/addins_layout.h"
#include "ui/descriptions_layout.h"
#include "ui/main_layout.h"
#include "ui/places_layout.h"

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
  FillCommandLineOptions(form_);
  try {
    StartUp();
  } catch (const RegistryError& error) {
    services_.dialogs.ShowError(error.what());
    EnterNoOutlookState();
  }
  FillAttachmentLists(form_, state_.Loaded.Level1Remove);
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
    LoadSettings();
  }
}

void MainWindow::LoadSettings() {
  const OfficeVersion major = state_.OutlookVersion.MajorVersion;
  if (state_.Use32BitReadPath) {
    ProcessRegRead32Bit(services_.registry, major, form_, state_.Loaded);
  } else {
    ProcessRegRead64Bit(services_.registry, major, form_, state_.Loaded);
  }
  state_.SettingsLoaded = true;
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
  state_.Loaded = LoadedSettings{};
  state_.SettingsLoaded = false;
  form_.SetText(pOutlookVersion, kNotInstalledText);
  DisableAllItems();
}

void MainWindow::OnEvent(ControlId id, Event event) {
  if (event != Event::Click) {
    return;
  }
  switch (id) {
    case btnExit:
      return btnExitClick();
    case btnSave:
      return btnSaveClick();
    case cbSaveMIME:
      return cbSaveMIMEClick();
    case cbDumpster:
      return cbDumpsterClick();
    case btnAddOne:
      return btnAddOneClick();
    case btnAddAll:
      return btnAddAllClick();
    case btnDelOne:
      return btnDelOneClick();
    case btnDelAll:
      return btnDelAllClick();
    case btnSecHelp:
      return btnSecHelpClick();
    case lbCLOptions:
      return lbCLOptionsClick();
    case btnBrowse6:
      return btnBrowse6Click();
    case btnLaunchOutlook:
      return btnLaunchOutlookClick();
    case btnBrowse1:
      return btnBrowse1Click();
    case btnBrowse2:
      return btnBrowse2Click();
    case btnBrowse3:
      return btnBrowse3Click();
    case btnBrowse4:
      return btnBrowse4Click();
    case btnBrowse5:
      return btnBrowse5Click();
    case btnRevert:
      return btnRevertClick();
    case btnViewFolder:
      return btnViewFolderClick();
    case btnCustomPlaces:
      return btnCustomPlacesClick();
    case btnScanPST:
      return btnScanPSTClick();
    case btnSaveUserInfo:
      return btnSaveUserInfoClick();
    case btnAddins:
      return btnAddinsClick();
    case btnHelp:
      return btnHelpClick();
    case btnAbout:
      return btnAboutClick();
    default:
      break;
  }
}

// Ends the program at once: no question, nothing written.
void MainWindow::btnExitClick() {
  form_.Close();
}

// Without settings read at start-up there is nothing the save could truly write back.
void MainWindow::btnSaveClick() {
  if (state_.SettingsLoaded && SaveSettings(form_, services_, state_)) {
    form_.Close();
  }
}

void MainWindow::cbSaveMIMEClick() {
  WarnWhenTicked(form_, services_.dialogs, state_, cbSaveMIME);
}

void MainWindow::cbDumpsterClick() {
  WarnWhenTicked(form_, services_.dialogs, state_, cbDumpster);
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

void MainWindow::lbCLOptionsClick() {
  ShowCommandLineOption(form_, state_.OutlookVersion.MajorVersion);
}

void MainWindow::btnBrowse6Click() {
  BrowseForArgument(form_, services_.dialogs);
}

void MainWindow::btnLaunchOutlookClick() {
  LaunchOutlook(form_, services_, state_);
}

// The five Browse buttons, each with its field and the picker's target for it.
void MainWindow::btnBrowse1Click() {
  BrowseForField(form_, services_.dialogs, state_, edAttachmentPath, kBrowseAttachmentPath);
}

void MainWindow::btnBrowse2Click() {
  BrowseForField(form_, services_.dialogs, state_, edPSTPath, kBrowsePstPath);
}

void MainWindow::btnBrowse3Click() {
  BrowseForField(form_, services_.dialogs, state_, edSaveAttPath, kBrowseSaveAttachmentPath);
}

void MainWindow::btnBrowse4Click() {
  BrowseForField(form_, services_.dialogs, state_, edOSTPath, kBrowseOstPath);
}

void MainWindow::btnBrowse5Click() {
  BrowseForField(form_, services_.dialogs, state_, edDocCachePath, kBrowseDocCachePath);
}

void MainWindow::btnRevertClick() {
  RevertAttachmentPath(form_, services_.registry, state_);
}

void MainWindow::btnViewFolderClick() {
  ViewAttachmentFolder(form_, services_);
}

void MainWindow::btnCustomPlacesClick() {
  services_.dialogs.ShowModal(PlacesWindowLayout(), [this](Form& form) {
    return std::make_unique<PlacesWindow>(form, services_, state_);
  });
}

void MainWindow::btnScanPSTClick() {
  StartRepairTool(services_, state_);
}

void MainWindow::btnSaveUserInfoClick() {
  ExportProfiles(services_, state_);
}

// Each press reads the registry anew into a new window.
void MainWindow::btnAddinsClick() {
  services_.dialogs.ShowModal(AddinsWindowLayout(), [this](Form& form) {
    return std::make_unique<AddinsWindow>(form, services_, state_);
  });
}

void MainWindow::btnHelpClick() {
  OpenHelpFile(services_);
}

void MainWindow::btnAboutClick() {
  services_.dialogs.ShowModal(AboutWindowLayout(), [this](Form& form) {
    return std::make_unique<AboutWindow>(form, services_);
  });
}

}  // namespace tarnwell

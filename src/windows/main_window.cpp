#include "windows/main_window.h"

#include <array>

#include "platform/registry_object.h"
#include "settings/detection.h"
#include "settings/load.h"
#include "settings/save.h"
#include "settings/settings_file.h"
#include "settings/windows_environment.h"
#include "tools/help_file.h"
#include "tools/profile_export.h"
#include "tools/repair_tool.h"
#include "ui/about_layout.h"
#include "ui/addins_layout.h"
#include "ui/main_layout.h"
#include "ui/places_layout.h"
#include "windows/about_window.h"
#include "windows/addins_window.h"
#include "windows/attachment_page.h"
#include "windows/places_window.h"
#include "windows/startup_page.h"

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
    {btnSave, false},          {miRestoreBackup, false}, {miExportSettings, false},
});
static_assert(kDisableAllItems.size() == 39);

constexpr auto kEvents = std::to_array<EventRow<MainWindow>>({
    {btnExit, Event::Click, &MainWindow::btnExitClick},
    {btnSave, Event::Click, &MainWindow::btnSaveClick},
    {cbSaveMIME, Event::Click, &MainWindow::cbSaveMIMEClick},
    {cbDumpster, Event::Click, &MainWindow::cbDumpsterClick},
    {btnAddOne, Event::Click, &MainWindow::btnAddOneClick},
    {btnAddAll, Event::Click, &MainWindow::btnAddAllClick},
    {btnDelOne, Event::Click, &MainWindow::btnDelOneClick},
    {btnDelAll, Event::Click, &MainWindow::btnDelAllClick},
    {btnSecHelp, Event::Click, &MainWindow::btnSecHelpClick},
    {lbCLOptions, Event::Click, &MainWindow::lbCLOptionsClick},
    {btnBrowse6, Event::Click, &MainWindow::btnBrowse6Click},
    {btnLaunchOutlook, Event::Click, &MainWindow::btnLaunchOutlookClick},
    {btnBrowse1, Event::Click, &MainWindow::btnBrowse1Click},
    {btnBrowse2, Event::Click, &MainWindow::btnBrowse2Click},
    {btnBrowse3, Event::Click, &MainWindow::btnBrowse3Click},
    {btnBrowse4, Event::Click, &MainWindow::btnBrowse4Click},
    {btnBrowse5, Event::Click, &MainWindow::btnBrowse5Click},
    {btnRevert, Event::Click, &MainWindow::btnRevertClick},
    {btnViewFolder, Event::Click, &MainWindow::btnViewFolderClick},
    {btnCustomPlaces, Event::Click, &MainWindow::btnCustomPlacesClick},
    {btnScanPST, Event::Click, &MainWindow::btnScanPSTClick},
    {btnSaveUserInfo, Event::Click, &MainWindow::btnSaveUserInfoClick},
    {btnAddins, Event::Click, &MainWindow::btnAddinsClick},
    {btnHelp, Event::Click, &MainWindow::btnHelpClick},
    {btnAbout, Event::Click, &MainWindow::btnAboutClick},
    {miExportSettings, Event::Click, &MainWindow::miExportSettingsClick},
    {miRestoreBackup, Event::Click, &MainWindow::miRestoreBackupClick},
});

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
  GetOutlookVersion(services_.registry, services_.file_system, form_, state_.OutlookVersion);

  if (!state_.OutlookVersion.Found) {
    form_.SetText(pOutlookVersion, kNotInstalledText);
    DisableAllItems();
  } else {
    state_.Use32BitReadPath = ChooseUse32BitReadPath(state_.Is64BitWindows, state_.OutlookVersion);
    LoadSettings();
  }
}

void MainWindow::LoadSettings() {
  if (state_.Use32BitReadPath) {
    ProcessRegRead32Bit(services_.registry, state_.OutlookVersion, form_, state_.Loaded);
  } else {
    ProcessRegRead64Bit(services_.registry, state_.OutlookVersion, form_, state_.Loaded);
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
  Route<MainWindow>(*this, kEvents, id, event);
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

void MainWindow::btnCustomPlacesClick() {
  services_.dialogs.ShowModal(PlacesWindowLayout(), [this](Form& form) {
    return std::make_unique<PlacesWindow>(form, location_entry_, services_, state_);
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

void MainWindow::miExportSettingsClick() {
  ExportSettings(form_, services_, state_);
}

void MainWindow::miRestoreBackupClick() {
  if (RestoreSettings(services_, state_)) {
    form_.Close();
  }
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

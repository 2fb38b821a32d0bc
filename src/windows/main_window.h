#pragma once

#include "state/app_state.h"
#include "ui/events.h"
#include "ui/form.h"

namespace tarnwell {

inline constexpr std::string_view kNotInstalledText =
    "Microsoft Outlook 2000 to 2024, or Microsoft 365, is not installed";

// The main window's logic: its start-up sequence and its handlers. The handlers of the
// "Default Paths", "Attachment Security" and "Startup Options" pages are defined in files
// of their own. `location_entry` is the custom location entry window, made at start-up and
// kept, which the places window shows.
class MainWindow final : public EventSink {
 public:
  MainWindow(Form& form, Form& location_entry, const Services& services, AppState& state)
      : form_(form), location_entry_(location_entry), services_(services), state_(state) {}

  // The start-up sequence, run once while the window is created. An error raised on the
  // way is shown in the standard error box and leaves the window in the no-Outlook state,
  // so that nothing unread can be written back.
  void FormCreate();
  void OnEvent(ControlId id, Event event) override;

  void btnExitClick();
  void btnSaveClick();
  void cbSaveMIMEClick();
  void cbDumpsterClick();
  void btnAddOneClick();
  void btnAddAllClick();
  void btnDelOneClick();
  void btnDelAllClick();
  void btnSecHelpClick();
  void lbCLOptionsClick();
  void btnBrowse6Click();
  void btnLaunchOutlookClick();
  void btnBrowse1Click();
  void btnBrowse2Click();
  void btnBrowse3Click();
  void btnBrowse4Click();
  void btnBrowse5Click();
  void btnRevertClick();
  void btnViewFolderClick();
  void btnCustomPlacesClick();
  void btnScanPSTClick();
  void btnSaveUserInfoClick();
  void btnAddinsClick();
  void btnHelpClick();
  void btnAboutClick();
  void miExportSettingsClick();
  void miRestoreBackupClick();

 private:
  void StartUp();
  void LoadSettings();
  void DisableAllItems();
  void EnterNoOutlookState();
  // A Browse button: the folder picker for `field`, whose changed mark is set when a folder
  // was chosen, so that the save treats it like a typed path.
  void BrowseFor(ControlId field);

  Form& form_;
  Form& location_entry_;
  Services services_;
  AppState& state_;
};

}  // namespace tarnwell

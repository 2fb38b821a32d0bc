#pragma once

#include "ui/layout.h"

namespace tarnwell {

// The controls of the main window, TForm1.
namespace tform1 {
enum : ControlId {
  Image1 = 1000,
  Label1,
  pOutlookVersion,
  btnSave,
  btnExit,
  btnAbout,
  MainTabControl,
  btnHelp,
  // pages
  DefaultPaths,
  AttachmentSecurity,
  Miscellaneous,
  Exchange,
  CommandLine,
  // "Default Paths"
  Label2,
  Label7,
  Label3,
  Label11,
  edAttachmentPath,
  btnRevert,
  btnBrowse1,
  edPSTPath,
  btnBrowse2,
  edSaveAttPath,
  btnBrowse3,
  btnViewFolder,
  edDocCachePath,
  btnBrowse5,
  Label8,
  // "Attachment Security"
  Label6,
  Label4,
  Label5,
  lbBlocked,
  lbAllowed,
  btnAddOne,
  btnAddAll,
  btnDelOne,
  btnDelAll,
  btnSecHelp,
  // "Miscellaneous"
  btnScanPST,
  cbMinToSysTray,
  cbReadAsPlain,
  cbShowClipboard,
  cbSaveMIME,
  btnSaveUserInfo,
  btnCustomPlaces,
  cbEnableDEP,
  btnAddins,
  // "Exchange"
  Image2,
  Label9,
  cbDumpster,
  cbBGSave,
  lblTransfer,
  gbDisable,
  cbPOP3,
  cbIMAP,
  cbExchange,
  cbHTTP,
  cbOther,
  cbDisablePST,
  Label10,
  edOSTPath,
  btnBrowse4,
  // "Startup Options"
  Label12,
  Label13,
  lbCLOptions,
  gbDescription,
  mDescription,
  Label14,
  edArgument,
  btnLaunchOutlook,
  btnBrowse6,
  // the system menu's own items
  miRestoreBackup = 0x0500,
  miExportSettings = 0x0510,
};
}  // namespace tform1

// The banner of the main and About windows: the program's one JPEG picture.
inline constexpr std::string_view kBannerPicture = "BANNER";

const WindowLayout& MainWindowLayout();

}  // namespace tarnwell

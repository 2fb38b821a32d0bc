#include "settings/settings_catalogue.h"

#include <algorithm>

#include "state/outlook_version.h"
#include "ui/main_layout.h"

namespace tarnwell {
namespace {

using namespace tform1;
using S = Setting;
using K = SettingKey;
constexpr Root HKCU = Root::CurrentUser;
constexpr Root HKLM = Root::LocalMachine;
constexpr ValueType SZ = ValueType::String;
constexpr ValueType DWORD = ValueType::Dword;

}  // namespace

const std::array<SettingRow, 21> kSettingsCatalogue{{
    {S::DumpsterAlwaysOn, "DumpsterAlwaysOn", HKLM, K::ExchangeClientOptions, DWORD, cbDumpster,
     Follow::Own},
    {S::Path, "Path", HKLM, K::WordInstallRoot, SZ, kNoControl, Follow::Own},
    {S::ForcePSTPath, "ForcePSTPath", HKCU, K::Outlook, SZ, edPSTPath, Follow::Text},
    {S::ForceOSTPath, "ForceOSTPath", HKCU, K::Outlook, SZ, edOSTPath, Follow::Text},
    {S::DisableBGSave, "DisableBGSave", HKCU, K::Outlook, DWORD, cbBGSave, Follow::TickIfOne},
    {S::DisablePST, "DisablePST", HKCU, K::Outlook, DWORD, cbDisablePST, Follow::TickIfOne},
    {S::DefaultPath, "DefaultPath", HKCU, K::OutlookOptions, SZ, edSaveAttPath, Follow::Text},
    {S::DisablePOP3, "DisablePOP3", HKCU, K::OutlookOptions, DWORD, cbPOP3, Follow::TickIfOne},
    {S::DisableIMAP, "DisableIMAP", HKCU, K::OutlookOptions, DWORD, cbIMAP, Follow::TickIfOne},
    {S::DisableExchange, "DisableExchange", HKCU, K::OutlookOptions, DWORD, cbExchange,
     Follow::TickIfOne},
    {S::DisableHTTP, "DisableHTTP", HKCU, K::OutlookOptions, DWORD, cbHTTP, Follow::TickIfOne},
    {S::DisableOtherTypes, "DisableOtherTypes", HKCU, K::OutlookOptions, DWORD, cbOther,
     Follow::TickIfOne},
    {S::MinToTray, "MinToTray", HKCU, K::OutlookPreferences, DWORD, cbMinToSysTray,
     Follow::TickIfOne},
    {S::ReadAsPlain, "ReadAsPlain", HKCU, K::OutlookOptionsMail, DWORD, cbReadAsPlain,
     Follow::TickIfOne},
    {S::SaveAllMIMENotJustHeaders, "SaveAllMIMENotJustHeaders", HKCU, K::OutlookOptionsMail, DWORD,
     cbSaveMIME, Follow::TickIfOne},
    {S::AcbControl, "AcbControl", HKCU, K::CommonGeneral, DWORD, cbShowClipboard, Follow::Own},
    {S::OutlookSecureTempFolder, "OutlookSecureTempFolder", HKCU, K::OutlookSecurity, SZ,
     edAttachmentPath, Follow::Own},
    {S::OutlookSecureOldTempFolder, "OutlookSecureOldTempFolder", HKCU, K::OutlookSecurity, SZ,
     btnRevert, Follow::Own},
    {S::Level1Remove, "Level1Remove", HKCU, K::OutlookSecurity, SZ, lbAllowed, Follow::Own},
    {S::EnableDEP, "EnableDEP", HKCU, K::OutlookSecurity, DWORD, cbEnableDEP, Follow::Own},
    {S::OfficeCacheLocation, "OfficeCacheLocation", HKCU, K::CommonInternet, SZ, edDocCachePath,
     Follow::Text},
}};

const SettingRow& CatalogueRow(Setting setting) {
  return *std::find_if(kSettingsCatalogue.begin(), kSettingsCatalogue.end(),
                       [setting](const SettingRow& row) { return row.setting == setting; });
}

std::string SettingKeyPath(SettingKey key, OfficeVersion version) {
  std::string_view below;
  switch (key) {
    case SettingKey::ExchangeClientOptions:
      return "Software\\Microsoft\\Exchange\\Client\\Options";
    case SettingKey::WordInstallRoot:
      below = "Word\\InstallRoot";
      break;
    case SettingKey::Outlook:
      below = "Outlook";
      break;
    case SettingKey::OutlookOptions:
      below = "Outlook\\Options";
      break;
    case SettingKey::OutlookPreferences:
      below = "Outlook\\Preferences";
      break;
    case SettingKey::OutlookOptionsMail:
      below = "Outlook\\Options\\Mail";
      break;
    case SettingKey::CommonGeneral:
      below = "Common\\General";
      break;
    case SettingKey::OutlookSecurity:
      below = "Outlook\\Security";
      break;
    case SettingKey::CommonInternet:
      below = "Common\\Internet";
      break;
  }
  return OfficeKeyRoot(version) + std::string(below);
}

}  // namespace tarnwell

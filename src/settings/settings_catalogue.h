#pragma once

#include <array>
#include <string>
#include <string_view>

#include "platform/registry.h"
#include "state/outlook_version.h"
#include "ui/layout.h"

namespace tarnwell {

// The registry values behind the main window's settings, in load order.
enum class Setting {
  DumpsterAlwaysOn,
  Path,
  ForcePSTPath,
  ForceOSTPath,
  DisableBGSave,
  DisablePST,
  DefaultPath,
  DisablePOP3,
  DisableIMAP,
  DisableExchange,
  DisableHTTP,
  DisableOtherTypes,
  MinToTray,
  ReadAsPlain,
  SaveAllMIMENotJustHeaders,
  AcbControl,
  OutlookSecureTempFolder,
  OutlookSecureOldTempFolder,
  Level1Remove,
  EnableDEP,
  OfficeCacheLocation,
};

// The keys that hold them: below the version's Office key, or (the first) machine-wide.
enum class SettingKey {
  ExchangeClientOptions,
  WordInstallRoot,
  Outlook,
  OutlookOptions,
  OutlookPreferences,
  OutlookOptionsMail,
  CommonGeneral,
  OutlookSecurity,
  CommonInternet,
};

// How a control follows its value when the settings are loaded.
enum class Follow {
  TickIfOne,  // ticked when the value exists and holds exactly 1
  Text,       // the value's text, when there is one
  Own,        // a rule of its own, in the load
};

struct SettingRow {
  Setting setting;
  std::string_view name;
  Root root;
  SettingKey key;
  ValueType type;
  ControlId control;
  Follow follow;
};

extern const std::array<SettingRow, 21> kSettingsCatalogue;

const SettingRow& CatalogueRow(Setting setting);

// The key's path: Office + X for the version, or the machine-wide Exchange options key.
std::string SettingKeyPath(SettingKey key, OfficeVersion version);

}  // namespace tarnwell

#pragma once

#include "platform/elevation.h"
#include "platform/registry.h"
#include "settings/outlook_version.h"
#include "ui/dialogs.h"

namespace tarnwell {

// The platform services the program's logic works through.
struct Services {
  Registry& registry;
  Dialogs& dialogs;
  Elevation& elevation;
};

// The program-wide state, one instance for the life of the program, handed to every
// handler that needs it.
struct AppState {
  bool Is64BitWindows = false;
  bool IsWindows8 = false;
  bool LoadComplete = false;
  bool Use32BitReadPath = false;
  OutlookVersionInfo OutlookVersion;
};

}  // namespace tarnwell

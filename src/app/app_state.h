#pragma once

#include "platform/elevation.h"
#include "platform/file_system.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "settings/loaded_settings.h"
#include "settings/outlook_version.h"
#include "ui/dialogs.h"

namespace tarnwell {

// The platform services the program's logic works through.
struct Services {
  Registry& registry;
  Dialogs& dialogs;
  Elevation& elevation;
  FileSystem& file_system;
  Processes& processes;
  Shell& shell;
};

// The program-wide state, one instance for the life of the program, handed to every
// handler that needs it.
struct AppState {
  bool Is64BitWindows = false;
  bool IsWindows8 = false;
  bool LoadComplete = false;
  bool Use32BitReadPath = false;
  OutlookVersionInfo OutlookVersion;
  // What the load read; SettingsLoaded only once a load has run, so that nothing that was
  // never read can be saved.
  LoadedSettings Loaded;
  bool SettingsLoaded = false;
};

}  // namespace tarnwell

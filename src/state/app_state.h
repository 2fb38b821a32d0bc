#pragma once

#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/elevation.h"
#include "platform/file_system.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "state/loaded_settings.h"
#include "state/outlook_version.h"
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
  Clock& clock;
};

// A custom save location as listed: the name shown, and the name of the registry key that
// holds it, which need not be the same.
struct Place {
  std::string key_name;
  std::string name;
};

// The custom save locations of the detected Office version, as last listed.
struct CustomPlaces {
  std::string key;  // below HKEY_CURRENT_USER
  std::vector<Place> listed;
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

  CustomPlaces Places;
};

}  // namespace tarnwell

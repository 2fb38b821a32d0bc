#pragma once

#include "fakes/fake_processes.h"
#include "platform/win32/win32_elevation.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "state/app_state.h"
#include "support/scripted_dialogs.h"

namespace tarnwell {

// The program's own Windows services, with scripted dialogs and a fixed clock.
struct RealServices {
  Win32Registry registry;
  Win32Elevation elevation;
  Win32FileSystem files;
  Win32Processes processes;
  Win32Shell shell;
  FixedClock clock;
  ScriptedDialogs dialogs;
  Services services{registry, dialogs, elevation, files, processes, shell, clock};
};

}  // namespace tarnwell

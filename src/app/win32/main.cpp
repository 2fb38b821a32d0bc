// The program entry: the Windows services, the main window built from its layout, its
// start-up sequence, and the message loop.
#include <windows.h>

#include <commctrl.h>

#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_elevation.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "ui/main_layout.h"
#include "ui/places_layout.h"
#include "ui/win32/pictures.h"
#include "ui/win32/shell_tree.h"
#include "ui/win32/win32_dialogs.h"
#include "ui/win32/window.h"
#include "windows/main_window.h"
#include "windows/places_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace tarnwell;

  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);

  Win32Registry registry;
  Win32Elevation elevation;
  Win32FileSystem file_system;
  Win32Processes processes;
  Win32Shell shell;
  Win32Clock clock;
  ResourcePictures pictures(instance);
  ShellNamespace shell_namespace;
  Win32Dialogs dialogs(instance, &pictures, &shell_namespace);
  AppState state;
  const Services services{registry, dialogs, elevation, file_system, processes, shell, clock};

  Win32Window window(MainWindowLayout(),
                     {instance, nullptr, &pictures, true, false, &shell_namespace});
  if (window.Handle() == nullptr) {
    return 1;
  }
  dialogs.SetOwner(window.Handle());
  shell.SetOwner(window.Handle());
  // The custom location entry window is made now and kept, hidden, for the whole run.
  Win32Window entry(LocationEntryLayout(),
                    {instance, window.Handle(), &pictures, false, true, &shell_namespace});
  LocationEntryWindow entry_logic(entry, window, services, state);
  entry.Connect(&entry_logic, &dialogs);

  MainWindow main_window(window, entry, services, state);
  window.Connect(&main_window, &dialogs);
  main_window.FormCreate();

  window.ShowCentred();
  return Win32Window::RunMessageLoop(window.Handle());
}

// The program entry: the Windows services, the main window built from its layout, its
// start-up sequence, and the message loop.
#include <windows.h>

#include <commctrl.h>

#include "app/main_window.h"
#include "platform/win32/win32_elevation.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "ui/main_layout.h"
#include "ui/win32/pictures.h"
#include "ui/win32/win32_dialogs.h"
#include "ui/win32/window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace tarnwell;

  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);

  Win32Registry registry;
  Win32Elevation elevation;
  Win32FileSystem file_system;
  Win32Processes processes;
  Win32Shell shell;
  ResourcePictures pictures(instance);
  Win32Dialogs dialogs(instance, &pictures);
  AppState state;

  Win32Window window(MainWindowLayout(), {instance, nullptr, &pictures, true});
  if (window.Handle() == nullptr) {
    return 1;
  }
  dialogs.SetOwner(window.Handle());
  shell.SetOwner(window.Handle());
  MainWindow main_window(
      window, Services{registry, dialogs, elevation, file_system, processes, shell}, state);
  window.Connect(&main_window, &dialogs);
  main_window.FormCreate();
  window.ShowCentred();
  return Win32Window::RunMessageLoop(window.Handle());
}

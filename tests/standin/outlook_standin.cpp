// A stand-in for OUTLOOK.EXE, for the tests and the demo only: it shows the command line it
// was started with until closed.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return MessageBoxA(nullptr, GetCommandLineA(), "Outlook stand-in: started with this command line",
                     0);
}

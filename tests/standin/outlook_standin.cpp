// A stand-in for OUTLOOK.EXE, for tests and the demo only: shows its command line until closed.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return MessageBoxA(nullptr, GetCommandLineA(), "Outlook stand-in: started with this command line",
                     0);
}

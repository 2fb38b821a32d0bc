// A stand-in for OUTLOOK.EXE, for the tests and the demo only: it appends the command line
// it was started with to "command-lines.txt" beside itself and shows it until closed.
#include <windows.h>

#include <fstream>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH] = {};
  const std::string file(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
  std::ofstream(file.substr(0, file.rfind('\\') + 1) + "command-lines.txt",
                std::ios::app | std::ios::binary)
      << GetCommandLineA() << "\r\n";
  MessageBoxA(nullptr, GetCommandLineA(), "Outlook stand-in: started with this command line", 0);
  return 0;
}

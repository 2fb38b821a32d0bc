// A stand-in for OUTLOOK.EXE, for the tests and the demo only: it appends the command line
// it was started with to "command-lines.txt" beside itself and shows it until closed.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const char* command_line = GetCommandLineA();
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string file(path);
  file = file.substr(0, file.find_last_of('\\') + 1) + "command-lines.txt";
  if (FILE* out = std::fopen(file.c_str(), "ab")) {
    std::fprintf(out, "%s\r\n", command_line);
    std::fclose(out);
  }
  MessageBoxA(nullptr, command_line, "Outlook stand-in: started with this command line", MB_OK);
  return 0;
}

// A stand-in for OUTLOOK.EXE, for the tests and the demo only: it appends the command line
// it was started with to "command-lines.txt" beside itself and shows it in a small window
// until closed.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

void Record(const char* command_line) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string file(path);
  file = file.substr(0, file.find_last_of('\\') + 1) + "command-lines.txt";
  if (FILE* out = std::fopen(file.c_str(), "ab")) {
    std::fprintf(out, "%s\r\n", command_line);
    std::fclose(out);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const char* command_line = GetCommandLineA();
  Record(command_line);

  WNDCLASSEXA window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = "OutlookStandIn";
  RegisterClassExA(&window_class);
  HWND window = CreateWindowExA(0, "OutlookStandIn", "Outlook stand-in",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 40, 40, 560, 120, nullptr,
                                nullptr, instance, nullptr);
  CreateWindowExA(0, "STATIC", "Started with this command line:", WS_CHILD | WS_VISIBLE, 10, 10,
                  530, 20, window, nullptr, instance, nullptr);
  CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", command_line,
                  WS_CHILD | WS_VISIBLE | ES_READONLY | ES_AUTOHSCROLL, 10, 34, 530, 24, window,
                  nullptr, instance, nullptr);
  ShowWindow(window, SW_SHOW);
  MSG message{};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}

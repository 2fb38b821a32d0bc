// Starts a program, waits until its main window is shown and idle, and reports how long
// that took and the program's peak working set. Used by the run script (to know when to
// take a screenshot) and by the start-up benchmark.
//
//   launcher start <exe> <window class> [timeout seconds]  leaves the program running
//   launcher time <exe> <window class> [timeout seconds]   closes it again afterwards
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct ProcessHandles {
  PROCESS_INFORMATION info{};
  ~ProcessHandles() {
    if (info.hThread != nullptr) {
      CloseHandle(info.hThread);
    }
    if (info.hProcess != nullptr) {
      CloseHandle(info.hProcess);
    }
  }
};

struct FoundWindow {
  DWORD process;
  const char* class_name;
  HWND window;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM data) {
  auto* found = reinterpret_cast<FoundWindow*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char name[128] = {};
  GetClassNameA(window, name, sizeof(name));
  if (owner == found->process && IsWindowVisible(window) &&
      std::string(name) == found->class_name) {
    found->window = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: launcher start|time <exe> <window class> [timeout]\n");
    return 2;
  }
  const std::string mode = argv[1];
  std::string command = "\"" + std::string(argv[2]) + "\"";
  const double timeout = argc > 4 ? std::atof(argv[4]) : 60.0;

  LARGE_INTEGER frequency{}, started{}, now{};
  QueryPerformanceFrequency(&frequency);
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  ProcessHandles process;
  QueryPerformanceCounter(&started);
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process.info)) {
    std::fprintf(stderr, "cannot start %s: error %lu\n", argv[2], GetLastError());
    return 1;
  }
  FoundWindow found{process.info.dwProcessId, argv[3], nullptr};
  double elapsed = 0;
  while (found.window == nullptr) {
    EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&found));
    if (found.window == nullptr) {
      if (WaitForSingleObject(process.info.hProcess, 2) == WAIT_OBJECT_0) {
        std::fprintf(stderr, "the program ended before showing its window\n");
        return 1;
      }
    }
    QueryPerformanceCounter(&now);
    elapsed = static_cast<double>(now.QuadPart - started.QuadPart) / frequency.QuadPart;
    if (elapsed > timeout) {
      std::fprintf(stderr, "no window of class %s after %.0f s\n", argv[3], timeout);
      return 1;
    }
  }
  WaitForInputIdle(process.info.hProcess, 10000);
  QueryPerformanceCounter(&now);
  elapsed = static_cast<double>(now.QuadPart - started.QuadPart) / frequency.QuadPart;

  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof(memory);
  GetProcessMemoryInfo(process.info.hProcess, &memory, sizeof(memory));
  std::printf("ready_ms=%.1f peak_working_set_kb=%zu\n", elapsed * 1000.0,
              static_cast<std::size_t>(memory.PeakWorkingSetSize / 1024));
  std::fflush(stdout);

  if (mode == "time") {
    PostMessageA(found.window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.info.hProcess, 10000) != WAIT_OBJECT_0) {
      TerminateProcess(process.info.hProcess, 1);
      std::fprintf(stderr, "the program did not end on WM_CLOSE\n");
      return 1;
    }
  }
  return 0;
}

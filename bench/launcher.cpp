// Starts programs and waits until their main window is shown and idle, reporting how long
// that took and the program's peak working set. Used by the run script (to know when to
// take a screenshot) and by the start-up benchmark.
//
//   launcher start <exe> <window class> [timeout seconds]
//       starts the program, waits for its window and leaves it running
//   launcher open <runs> <tarnwell.exe> browse|addins
//       starts Tarnwell and presses the Browse button of the .pst field, or "View Outlook
//       Add-In Status", <runs> times, timing each press until the window it opens is shown
//       and idle
//   launcher time <runs> <exe> <window class> [<exe> <window class> ...]
//       starts each program in turn, <runs> times, closing each again; one line per start,
//       "program=N" numbering the programs from 1 in the order given
//
// Timing every start from one process keeps Wine's own services running between starts,
// so that each program pays only for itself.
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ui/main_layout.h"

namespace {

struct Process {
  PROCESS_INFORMATION info{};
  Process() = default;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  ~Process() {
    if (info.hThread != nullptr) {
      CloseHandle(info.hThread);
    }
    if (info.hProcess != nullptr) {
      CloseHandle(info.hProcess);
    }
  }
};

struct Search {
  DWORD process;
  const char* class_name;
  HWND window;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char name[128] = {};
  GetClassNameA(window, name, sizeof(name));
  if (owner == search->process && IsWindowVisible(window) &&
      std::string(name) == search->class_name) {
    search->window = window;
    return FALSE;
  }
  return TRUE;
}

double Seconds() {
  LARGE_INTEGER frequency{}, now{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Started {
  HWND window = nullptr;
  double seconds = 0;
  SIZE_T peak_working_set = 0;
};

// Starts the program and waits for its visible, idle main window.
bool Start(const char* exe, const char* window_class, double timeout, Process& process,
           Started& started) {
  std::string command = "\"" + std::string(exe) + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  const double begin = Seconds();
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process.info)) {
    std::fprintf(stderr, "cannot start %s: error %lu\n", exe, GetLastError());
    return false;
  }
  Search search{process.info.dwProcessId, window_class, nullptr};
  while (search.window == nullptr) {
    EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
    if (search.window != nullptr) {
      break;
    }
    if (WaitForSingleObject(process.info.hProcess, 1) == WAIT_OBJECT_0) {
      std::fprintf(stderr, "%s ended before showing its window\n", exe);
      return false;
    }
    if (Seconds() - begin > timeout) {
      std::fprintf(stderr, "no window of class %s after %.0f s\n", window_class, timeout);
      return false;
    }
  }
  WaitForInputIdle(process.info.hProcess, 10000);
  started.seconds = Seconds() - begin;
  started.window = search.window;
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof(memory);
  GetProcessMemoryInfo(process.info.hProcess, &memory, sizeof(memory));
  started.peak_working_set = memory.PeakWorkingSetSize;
  return true;
}

bool CloseAndWait(Process& process, HWND window) {
  PostMessageA(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.info.hProcess, 10000) != WAIT_OBJECT_0) {
    TerminateProcess(process.info.hProcess, 1);
    std::fprintf(stderr, "the program did not end on WM_CLOSE\n");
    return false;
  }
  return true;
}

struct ControlSearch {
  int id;
  HWND found;
};

BOOL CALLBACK FindControl(HWND control, LPARAM data) {
  auto* search = reinterpret_cast<ControlSearch*>(data);
  if (GetDlgCtrlID(control) == search->id) {
    search->found = control;
    return FALSE;
  }
  return TRUE;
}

// Presses a button of the main window and times each showing of the window it opens.
int TimeOpening(int runs, const char* exe, const std::string& what) {
  using namespace tarnwell::tform1;
  const bool addins = what == "addins";
  const char* window_class = addins ? "TarnwellForm7" : "TarnwellTForm4";
  Process process;
  Started started;
  if (!Start(exe, "TarnwellTForm1", 60.0, process, started)) {
    return 1;
  }
  if (addins) {
    // The page makes its controls when first shown.
    ControlSearch tabs{MainTabControl, nullptr};
    EnumChildWindows(started.window, FindControl, reinterpret_cast<LPARAM>(&tabs));
    SendMessageA(tabs.found, TCM_SETCURFOCUS, 2, 0);
  }
  ControlSearch button{addins ? btnAddins : btnBrowse2, nullptr};
  EnumChildWindows(started.window, FindControl, reinterpret_cast<LPARAM>(&button));
  if (button.found == nullptr) {
    std::fprintf(stderr, "no Browse button\n");
    return 1;
  }
  for (int run = 0; run < runs; ++run) {
    const double begin = Seconds();
    PostMessageA(button.found, BM_CLICK, 0, 0);
    Search picker{process.info.dwProcessId, window_class, nullptr};
    while (picker.window == nullptr && Seconds() - begin < 30) {
      EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&picker));
    }
    if (picker.window == nullptr) {
      std::fprintf(stderr, "no %s window after 30 s\n", what.c_str());
      return 1;
    }
    WaitForInputIdle(process.info.hProcess, 10000);
    std::printf("%s_open run=%d ms=%.1f\n", what.c_str(), run + 1, (Seconds() - begin) * 1000.0);
    std::fflush(stdout);
    PostMessageA(picker.window, WM_CLOSE, 0, 0);
    while (IsWindow(picker.window)) {
      Sleep(1);
    }
  }
  return CloseAndWait(process, started.window) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "start" && argc >= 4) {
    Process process;
    Started started;
    if (!Start(argv[2], argv[3], argc > 4 ? std::atof(argv[4]) : 60.0, process, started)) {
      return 1;
    }
    std::printf("ready_ms=%.1f\n", started.seconds * 1000.0);
    return 0;
  }
  if (mode == "open" && argc == 5) {
    return TimeOpening(std::atoi(argv[2]), argv[3], argv[4]);
  }
  if (mode == "time" && argc >= 5 && (argc - 3) % 2 == 0) {
    const int runs = std::atoi(argv[2]);
    for (int run = 0; run < runs; ++run) {
      for (int program = 3; program < argc; program += 2) {
        Process process;
        Started started;
        if (!Start(argv[program], argv[program + 1], 60.0, process, started) ||
            !CloseAndWait(process, started.window)) {
          return 1;
        }
        std::printf("program=%d %s ready_ms=%.1f peak_working_set_kb=%zu\n", (program - 1) / 2,
                    argv[program + 1], started.seconds * 1000.0,
                    static_cast<std::size_t>(started.peak_working_set / 1024));
        std::fflush(stdout);
      }
    }
    return 0;
  }
  std::fprintf(stderr,
               "usage: launcher start <exe> <window class> [timeout]\n"
               "       launcher open <runs> <tarnwell.exe> browse|addins\n"
               "       launcher time <runs> <exe> <window class> [<exe> <window class> ...]\n");
  return 2;
}

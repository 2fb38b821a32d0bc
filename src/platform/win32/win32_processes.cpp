#include "platform/win32/win32_processes.h"

#include <windows.h>

#include <memory>
#include <string>
#include <tlhelp32.h>

namespace tarnwell {
namespace {

struct HandleClose {
  void operator()(HANDLE handle) const {
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
      CloseHandle(handle);
    }
  }
};
using UniqueHandle = std::unique_ptr<void, HandleClose>;

}  // namespace

std::optional<std::vector<Processes::Entry>> Win32Processes::Running() {
  UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (snapshot.get() == INVALID_HANDLE_VALUE) {
    return std::nullopt;
  }
  std::vector<Entry> running;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32First(snapshot.get(), &entry); more;
       more = Process32Next(snapshot.get(), &entry)) {
    running.push_back({entry.th32ProcessID, entry.szExeFile});
  }
  return running;
}

Processes::Started Win32Processes::Start(std::string_view command_line,
                                         std::uint32_t creation_flags) {
  std::string command(command_line);  // CreateProcessA may write into it
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, creation_flags, nullptr,
                      nullptr, &startup, &process)) {
    return {false, GetLastError()};
  }
  UniqueHandle thread(process.hThread);
  UniqueHandle started(process.hProcess);
  return {true, 0};
}

}  // namespace tarnwell

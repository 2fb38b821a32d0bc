#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>
#include <string>

namespace tarnwell {
namespace {

DWORD AttributesOf(std::string_view path) {
  if (path.empty()) {
    return INVALID_FILE_ATTRIBUTES;
  }
  const std::string text(path);
  return GetFileAttributesA(text.c_str());
}

struct HandleClose {
  void operator()(HANDLE handle) const {
    if (handle != INVALID_HANDLE_VALUE) {
      CloseHandle(handle);
    }
  }
};
using UniqueHandle = std::unique_ptr<void, HandleClose>;

struct FindEnd {
  void operator()(HANDLE handle) const {
    if (handle != INVALID_HANDLE_VALUE) {
      ::FindClose(handle);
    }
  }
};
using UniqueFind = std::unique_ptr<void, FindEnd>;

std::string WithBackslash(std::string folder) {
  if (!folder.empty() && folder.back() != '\\') {
    folder += '\\';
  }
  return folder;
}

// A wide path as the program's ANSI text; empty when a character has no ANSI form.
std::string Ansi(const wchar_t* wide) {
  BOOL lossy = FALSE;
  const int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, &lossy);
  if (size <= 1 || lossy) {
    return {};
  }
  std::string text(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, -1, text.data(), size, nullptr, nullptr);
  text.pop_back();
  return text;
}

}  // namespace

std::string Win32FileSystem::LocalAppDataFolder() {
  using KnownFolderPath = HRESULT(WINAPI*)(REFKNOWNFOLDERID, DWORD, HANDLE, PWSTR*);
  using TaskMemFree = void(WINAPI*)(void*);
  const auto known_folder = shell32_.Get<KnownFolderPath>("SHGetKnownFolderPath");
  const auto task_mem_free = ole32_.Get<TaskMemFree>("CoTaskMemFree");
  if (known_folder != nullptr && task_mem_free != nullptr) {
    PWSTR raw = nullptr;
    const HRESULT result = known_folder(FOLDERID_LocalAppData, 0, nullptr, &raw);
    const auto free_path = [task_mem_free](wchar_t* path) { task_mem_free(path); };
    const std::unique_ptr<wchar_t, decltype(free_path)> path(raw, free_path);
    if (SUCCEEDED(result) && path) {
      if (std::string folder = Ansi(path.get()); !folder.empty()) {
        return WithBackslash(std::move(folder));
      }
    }
  }
  // Without the shell's answer, the environment's.
  char folder[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableA("LOCALAPPDATA", folder, MAX_PATH);
  return length == 0 || length >= MAX_PATH ? std::string() : WithBackslash(folder);
}

bool Win32FileSystem::MakeFolders(std::string_view path) {
  // Each level from the top; a level that cannot be made (a drive, a share) may exist.
  for (std::size_t end = path.find('\\', 1); end != std::string_view::npos;
       end = path.find('\\', end + 1)) {
    const std::string level(path.substr(0, end));
    if (!level.empty() && level.back() != ':' && !FolderExists(level)) {
      CreateDirectoryA(level.c_str(), nullptr);
    }
  }
  const std::string whole(path);
  if (!FolderExists(whole)) {
    CreateDirectoryA(whole.c_str(), nullptr);
  }
  return FolderExists(whole);
}

std::vector<std::string> Win32FileSystem::FileNames(std::string_view folder) {
  const std::string pattern = WithBackslash(std::string(folder)) + "*";
  WIN32_FIND_DATAA found{};
  const UniqueFind find(FindFirstFileA(pattern.c_str(), &found));
  std::vector<std::string> names;
  if (find.get() == INVALID_HANDLE_VALUE) {
    return names;
  }
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      names.emplace_back(found.cFileName);
    }
  } while (FindNextFileA(find.get(), &found));
  return names;
}

bool Win32FileSystem::WriteWholeFile(std::string_view path, std::string_view bytes) {
  const std::string name(path);
  bool whole = false;
  {
    const UniqueHandle file(CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
      return false;
    }
    DWORD written = 0;
    whole =
        WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
  }
  if (!whole) {
    DeleteFileA(name.c_str());
  }
  return whole;
}

std::optional<std::string> Win32FileSystem::ReadWholeFile(std::string_view path,
                                                          std::size_t limit) {
  const std::string name(path);
  const UniqueHandle file(CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) {
    return std::nullopt;
  }
  std::string bytes;
  char buffer[16384];
  while (bytes.size() < limit) {
    DWORD read = 0;
    const DWORD wanted = static_cast<DWORD>(std::min(sizeof buffer, limit - bytes.size()));
    if (!ReadFile(file.get(), buffer, wanted, &read, nullptr)) {
      return std::nullopt;
    }
    if (read == 0) {
      break;
    }
    bytes.append(buffer, read);
  }
  return bytes;
}

bool Win32FileSystem::RemoveFile(std::string_view path) {
  const std::string name(path);
  return DeleteFileA(name.c_str()) != FALSE;
}

bool Win32FileSystem::FolderExists(std::string_view path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32FileSystem::FileExists(std::string_view path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<std::uint64_t> Win32FileSystem::LastWriteTime(std::string_view path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  const std::string text(path);
  if (path.empty() || !GetFileAttributesExA(text.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return std::nullopt;
  }
  return (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
         data.ftLastWriteTime.dwLowDateTime;
}

std::string Win32FileSystem::ProgramFolder() {
  // Long paths: the buffer grows until the whole name fits.
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) {
      return {};
    }
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of('\\') + 1);
}

}  // namespace tarnwell

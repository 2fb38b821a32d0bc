#include "platform/win32/win32_file_system.h"

#include <windows.h>

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

}  // namespace

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

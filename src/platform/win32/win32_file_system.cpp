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

}  // namespace tarnwell

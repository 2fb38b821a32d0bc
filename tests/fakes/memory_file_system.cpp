#include "fakes/memory_file_system.h"

#include <algorithm>
#include <cctype>

namespace tarnwell {

std::string MemoryFileSystem::Key(std::string_view path) {
  std::string key(path);
  while (key.size() > 3 && key.back() == '\\') {
    key.pop_back();
  }
  std::transform(key.begin(), key.end(), key.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return key;
}

MemoryFileSystem& MemoryFileSystem::AddFolder(std::string_view path) {
  folders_.insert(Key(path));
  return *this;
}

MemoryFileSystem& MemoryFileSystem::AddFile(std::string_view path) {
  files_.emplace(Key(path), now_++);
  return *this;
}

void MemoryFileSystem::Write(std::string_view path) {
  files_[Key(path)] = now_++;
}

std::optional<std::uint64_t> MemoryFileSystem::LastWriteTime(std::string_view path) {
  auto file = files_.find(Key(path));
  return file == files_.end() ? std::nullopt : std::optional(file->second);
}

void MemoryFileSystem::Remove(std::string_view path) {
  folders_.erase(Key(path));
  files_.erase(Key(path));
}

bool MemoryFileSystem::FolderExists(std::string_view path) {
  return !path.empty() && folders_.count(Key(path)) > 0;
}

bool MemoryFileSystem::FileExists(std::string_view path) {
  return !path.empty() && files_.count(Key(path)) > 0;
}

}  // namespace tarnwell

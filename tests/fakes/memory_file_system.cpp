#include "fakes/memory_file_system.h"

#include <cctype>

namespace tarnwell {

std::string MemoryFileSystem::Key(std::string_view path) {
  std::string key(path);
  while (key.size() > 3 && key.back() == '\\') {
    key.pop_back();
  }
  for (char& c : key) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return key;
}

MemoryFileSystem& MemoryFileSystem::AddFolder(std::string_view path) {
  folders_.insert(Key(path));
  return *this;
}

MemoryFileSystem& MemoryFileSystem::AddFile(std::string_view path) {
  files_.emplace(Key(path), File{std::string(path), now_++, {}});
  return *this;
}

void MemoryFileSystem::Remove(std::string_view path) {
  folders_.erase(Key(path));
  files_.erase(Key(path));
}

void MemoryFileSystem::Write(std::string_view path) {
  File& file = files_[Key(path)];
  file.name = file.name.empty() ? std::string(path) : file.name;
  file.written = now_++;
}

std::optional<std::uint64_t> MemoryFileSystem::LastWriteTime(std::string_view path) {
  auto file = files_.find(Key(path));
  return file == files_.end() ? std::nullopt : std::optional(file->second.written);
}

std::optional<std::string> MemoryFileSystem::Contents(std::string_view path) const {
  auto file = files_.find(Key(path));
  return file == files_.end() ? std::nullopt : std::optional(file->second.bytes);
}

std::optional<std::string> MemoryFileSystem::ReadWholeFile(std::string_view path,
                                                           std::size_t limit) {
  auto bytes = Contents(path);
  return bytes ? std::optional(bytes->substr(0, limit)) : std::nullopt;
}

bool MemoryFileSystem::MakeFolders(std::string_view path) {
  const std::string key = Key(path);
  for (std::size_t end = key.find('\\', 3);; end = key.find('\\', end + 1)) {
    if (!Refused(key.substr(0, end))) {
      folders_.insert(key.substr(0, end));
    }
    if (end == std::string::npos) {
      break;
    }
  }
  return FolderExists(key);
}

std::vector<std::string> MemoryFileSystem::FileNames(std::string_view folder) {
  const std::string parent = Key(folder) + "\\";
  std::vector<std::string> names;
  for (const auto& [key, file] : files_) {
    if (key.starts_with(parent) && key.find('\\', parent.size()) == std::string::npos) {
      names.push_back(file.name.substr(file.name.find_last_of('\\') + 1));
    }
  }
  return names;
}

bool MemoryFileSystem::WriteWholeFile(std::string_view path, std::string_view bytes) {
  const std::string key = Key(path);
  if (Refused(key) || !FolderExists(key.substr(0, key.rfind('\\')))) {
    return false;
  }
  Write(path);
  files_[key].bytes = bytes;
  return true;
}

}  // namespace tarnwell

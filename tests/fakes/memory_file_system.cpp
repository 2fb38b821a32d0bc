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

bool MemoryFileSystem::Refused(std::string_view path) const {
  const std::string key = Key(path);
  return refused_ && key.starts_with(*refused_) &&
         (key.size() == refused_->size() || key[refused_->size()] == '\\');
}

MemoryFileSystem& MemoryFileSystem::AddFolder(std::string_view path) {
  folders_.insert(Key(path));
  return *this;
}

MemoryFileSystem& MemoryFileSystem::AddFile(std::string_view path) {
  files_.emplace(Key(path), File{std::string(path), now_++, {}});
  return *this;
}

void MemoryFileSystem::Write(std::string_view path) {
  File& file = files_[Key(path)];
  if (file.name.empty()) {
    file.name = path;
  }
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

bool MemoryFileSystem::MakeFolders(std::string_view path) {
  const std::string key = Key(path);
  for (std::size_t end = key.find('\\', 3); end != std::string::npos;
       end = key.find('\\', end + 1)) {
    if (!Refused(key.substr(0, end))) {
      folders_.insert(key.substr(0, end));
    }
  }
  if (!Refused(key)) {
    folders_.insert(key);
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

std::optional<std::string> MemoryFileSystem::ReadWholeFile(std::string_view path,
                                                           std::size_t limit) {
  auto file = files_.find(Key(path));
  if (file == files_.end()) {
    return std::nullopt;
  }
  return file->second.bytes.substr(0, limit);
}

bool MemoryFileSystem::RemoveFile(std::string_view path) {
  return files_.erase(Key(path)) > 0;
}

}  // namespace tarnwell

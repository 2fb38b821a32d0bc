#pragma once

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace tarnwell {

// Folders and files with their contents; names ignore letter case and a folder's final backslash.
class MemoryFileSystem final : public FileSystem {
 public:
  MemoryFileSystem& AddFolder(std::string_view path) {
    folders_.insert(Key(path));
    return *this;
  }
  MemoryFileSystem& AddFile(std::string_view path) {
    files_.emplace(Key(path), File{std::string(path), now_++, {}});
    return *this;
  }
  void Remove(std::string_view path) {
    folders_.erase(Key(path));
    files_.erase(Key(path));
  }
  // Writes the file now: it exists afterwards, written later than anything before.
  void Write(std::string_view path) {
    files_.try_emplace(Key(path), File{std::string(path), 0, {}}).first->second.written = now_++;
  }
  // Nothing can be made or written in this folder or below it, as on a full disk.
  void RefuseWritesBelow(std::string_view folder) { refused_ = Key(folder) + "\\"; }
  // What the program wrote into a file; nothing when it is missing.
  std::optional<std::string> Contents(std::string_view path) const {
    auto file = files_.find(Key(path));
    return file == files_.end() ? std::nullopt : std::optional(file->second.bytes);
  }

  bool FolderExists(std::string_view path) override {
    return !path.empty() && folders_.count(Key(path)) > 0;
  }
  bool FileExists(std::string_view path) override { return files_.count(Key(path)) > 0; }
  std::optional<std::uint64_t> LastWriteTime(std::string_view path) override {
    auto file = files_.find(Key(path));
    return file == files_.end() ? std::nullopt : std::optional(file->second.written);
  }
  std::string ProgramFolder() override { return "C:\\Program Files\\Tarnwell\\"; }
  std::string LocalAppDataFolder() override { return "C:\\Users\\Tester\\AppData\\Local\\"; }
  bool MakeFolders(std::string_view path) override {
    const std::string key = Key(path);
    for (std::size_t end = key.find('\\', 3);; end = key.find('\\', end + 1)) {
      if (!Refused(key.substr(0, end))) {
        folders_.insert(key.substr(0, end));
      }
      if (end == std::string::npos) {
        return FolderExists(key);
      }
    }
  }
  std::vector<std::string> FileNames(std::string_view folder) override {
    const std::string parent = Key(folder) + "\\";
    std::vector<std::string> names;
    for (const auto& [key, file] : files_) {
      if (key.starts_with(parent) && key.find('\\', parent.size()) == std::string::npos) {
        names.push_back(file.name.substr(file.name.find_last_of('\\') + 1));
      }
    }
    return names;
  }
  bool WriteWholeFile(std::string_view path, std::string_view bytes) override {
    const std::string key = Key(path);
    if (Refused(key) || !FolderExists(key.substr(0, key.rfind('\\')))) {
      return false;
    }
    Write(path);
    files_[key].bytes = bytes;
    return true;
  }
  std::optional<std::string> ReadWholeFile(std::string_view path, std::size_t limit) override {
    auto bytes = Contents(path);
    return bytes ? std::optional(bytes->substr(0, limit)) : std::nullopt;
  }
  bool RemoveFile(std::string_view path) override { return files_.erase(Key(path)) > 0; }

 private:
  struct File {
    std::string name;  // as spelled when first written
    std::uint64_t written = 0;
    std::string bytes;
  };
  static std::string Key(std::string_view path) {
    std::string key(path.substr(0, std::max(path.find_last_not_of('\\') + 1, std::size_t{3})));
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return key;
  }
  bool Refused(const std::string& key) const {
    return refused_ && (key + "\\").starts_with(*refused_);
  }

  std::set<std::string> folders_;
  std::map<std::string, File> files_;
  std::uint64_t now_ = 1;
  std::optional<std::string> refused_;
};

}  // namespace tarnwell

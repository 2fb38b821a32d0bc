#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace tarnwell {

// Folders and files that exist, named as Windows names them (letter case ignored, a
// trailing backslash allowed on folders), with what was written into them.
class MemoryFileSystem final : public FileSystem {
 public:
  MemoryFileSystem& AddFolder(std::string_view path);
  MemoryFileSystem& AddFile(std::string_view path);
  void Remove(std::string_view path);
  // Writes the file now: it exists afterwards, written later than anything before.
  void Write(std::string_view path);
  // Nothing can be made or written in this folder or below it, as on a full disk.
  void RefuseWritesBelow(std::string_view folder) { refused_ = Key(folder) + "\\"; }
  // What the program wrote into a file; nothing when it is missing.
  std::optional<std::string> Contents(std::string_view path) const;
  void SetProgramFolder(std::string_view folder) { program_folder_ = folder; }

  bool FolderExists(std::string_view path) override {
    return !path.empty() && folders_.count(Key(path)) > 0;
  }
  bool FileExists(std::string_view path) override { return files_.count(Key(path)) > 0; }
  std::optional<std::uint64_t> LastWriteTime(std::string_view path) override;
  std::string ProgramFolder() override { return program_folder_; }
  std::string LocalAppDataFolder() override { return "C:\\Users\\Tester\\AppData\\Local\\"; }
  bool MakeFolders(std::string_view path) override;
  std::vector<std::string> FileNames(std::string_view folder) override;
  bool WriteWholeFile(std::string_view path, std::string_view bytes) override;
  std::optional<std::string> ReadWholeFile(std::string_view path, std::size_t limit) override;
  bool RemoveFile(std::string_view path) override { return files_.erase(Key(path)) > 0; }

 private:
  struct File {
    std::string name;  // as spelled when first written
    std::uint64_t written = 0;
    std::string bytes;
  };
  static std::string Key(std::string_view path);
  bool Refused(const std::string& key) const {
    return refused_ && (key + "\\").starts_with(*refused_);
  }

  std::set<std::string> folders_;
  std::map<std::string, File> files_;
  std::uint64_t now_ = 1;
  std::string program_folder_ = "C:\\Program Files\\Tarnwell\\";
  std::optional<std::string> refused_;
};

}  // namespace tarnwell

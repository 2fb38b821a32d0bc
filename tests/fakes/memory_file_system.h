#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace tarnwell {

// Folders and files that exist, named as Windows names them (letter case ignored, a
// trailing backslash allowed on folders).
class MemoryFileSystem final : public FileSystem {
 public:
  MemoryFileSystem& AddFolder(std::string_view path);
  MemoryFileSystem& AddFile(std::string_view path);
  void Remove(std::string_view path);
  // Writes the file now: it exists afterwards, written later than anything before.
  void Write(std::string_view path);

  bool FolderExists(std::string_view path) override;
  bool FileExists(std::string_view path) override;
  std::optional<std::uint64_t> LastWriteTime(std::string_view path) override;
  std::string ProgramFolder() override { return program_folder_; }
  void SetProgramFolder(std::string_view folder) { program_folder_ = folder; }

 private:
  static std::string Key(std::string_view path);
  std::set<std::string> folders_;
  std::map<std::string, std::uint64_t> files_;  // with the time each was written
  std::uint64_t now_ = 1;
  std::string program_folder_ = "C:\\Program Files\\Tarnwell\\";
};

}  // namespace tarnwell

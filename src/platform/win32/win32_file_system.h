#pragma once

#include "platform/file_system.h"
#include "platform/win32/library.h"

namespace tarnwell {

class Win32FileSystem final : public FileSystem {
 public:
  bool FolderExists(std::string_view path) override;
  bool FileExists(std::string_view path) override;
  std::optional<std::uint64_t> LastWriteTime(std::string_view path) override;
  std::string ProgramFolder() override;
  std::string LocalAppDataFolder() override;
  bool MakeFolders(std::string_view path) override;
  std::vector<std::string> FileNames(std::string_view folder) override;
  bool WriteWholeFile(std::string_view path, std::string_view bytes) override;
  std::optional<std::string> ReadWholeFile(std::string_view path, std::size_t limit) override;
  bool RemoveFile(std::string_view path) override;

 private:
  // Loaded when first needed: only a save asks for the application-data folder.
  Library shell32_{"shell32.dll"};
  Library ole32_{"ole32.dll"};
};

}  // namespace tarnwell

#pragma once

#include "platform/file_system.h"

namespace tarnwell {

class Win32FileSystem final : public FileSystem {
 public:
  bool FolderExists(std::string_view path) override;
  bool FileExists(std::string_view path) override;
  std::optional<std::uint64_t> LastWriteTime(std::string_view path) override;
  std::string ProgramFolder() override;
};

}  // namespace tarnwell

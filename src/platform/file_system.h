#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell {

// A path that names its place whatever the current folder: a drive letter, a colon and a
// backslash, or a UNC path (two backslashes). A program started from anything else would
// be looked for in the current folder.
inline bool IsFullPath(std::string_view path) {
  const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  const bool drive = path.size() >= 3 && letter(path[0]) && path[1] == ':' && path[2] == '\\';
  return drive || path.starts_with("\\\\");
}

// The file system as the program asks it.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // The path names a folder: its attributes can be read and include the directory
  // attribute. An empty path never does; a file's path does not.
  virtual bool FolderExists(std::string_view path) = 0;
  // The path names a file, not a folder.
  virtual bool FileExists(std::string_view path) = 0;
  // When the file was last written, in the system's units; nothing when it is missing.
  virtual std::optional<std::uint64_t> LastWriteTime(std::string_view path) = 0;
  // The folder of the running program's own executable file, with its trailing backslash.
  virtual std::string ProgramFolder() = 0;
  // The user's local application-data folder (%LOCALAPPDATA%), with its trailing backslash;
  // empty when Windows names none.
  virtual std::string LocalAppDataFolder() = 0;
  // Makes the folder and every missing folder above it: true when it exists afterwards.
  virtual bool MakeFolders(std::string_view path) = 0;
  // The names of the files in a folder, not of its sub-folders; none when it cannot be read.
  virtual std::vector<std::string> FileNames(std::string_view folder) = 0;
  // Writes the file whole, replacing any file of that name: false when it was not written
  // whole (a file begun and not finished is deleted).
  virtual bool WriteWholeFile(std::string_view path, std::string_view bytes) = 0;
  // A file's bytes from its start, at most `limit` of them: a longer file gives its first
  // `limit` bytes. Nothing when it is missing or cannot be read.
  virtual std::optional<std::string> ReadWholeFile(std::string_view path, std::size_t limit) = 0;
  // Deletes a file: false when it could not be deleted.
  virtual bool RemoveFile(std::string_view path) = 0;
};

}  // namespace tarnwell

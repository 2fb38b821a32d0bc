#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell {

// Running processes and starting new ones.
class Processes {
 public:
  struct Entry {
    std::uint32_t id;
    std::string image;  // the executable's file name, as the system lists it
  };
  struct Started {
    bool ok;
    std::uint32_t error;  // the system's last error when not ok
  };

  virtual ~Processes() = default;
  // A snapshot of the running processes; nothing when none could be taken.
  virtual std::optional<std::vector<Entry>> Running() = 0;
  // Starts a program from a command line (no application name, handles not inherited, the
  // program's own environment and folder); the new process is not waited for.
  virtual Started Start(std::string_view command_line, std::uint32_t creation_flags) = 0;
};

}  // namespace tarnwell

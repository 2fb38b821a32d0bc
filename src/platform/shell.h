#pragma once

#include <cstdint>
#include <string_view>

namespace tarnwell {

inline constexpr int kShowNormal = 1;  // SW_SHOWNORMAL
inline constexpr int kShow = 5;        // SW_SHOW

// The Windows shell, which opens a file with its program or a program with parameters.
class Shell {
 public:
  virtual ~Shell() = default;
  // ShellExecuteA with the program's main window as owner; an empty parameter or folder
  // text is passed as none. Returns the shell's result: 32 or less is a failure.
  virtual std::intptr_t Execute(std::string_view verb, std::string_view file,
                                std::string_view parameters, std::string_view folder, int show) = 0;

  enum class Ran { NotStarted, Ended, StillRunning };
  // Opens a program through the shell ("open", no folder) and waits until it ends, at most
  // `milliseconds`; meanwhile the program's windows keep painting but take no input.
  virtual Ran RunAndWait(std::string_view file, std::string_view parameters, int show,
                         unsigned milliseconds) = 0;
};

}  // namespace tarnwell

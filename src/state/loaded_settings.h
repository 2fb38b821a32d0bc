#pragma once

#include <cstdint>
#include <string>

namespace tarnwell {

// What the load keeps for later steps: the save compares against it, Revert and the
// launch of Outlook use it.
struct LoadedSettings {
  std::string OutlookSecureTempFolder;
  std::string OutlookSecureOldTempFolder;
  std::string Level1Remove;
  std::uint32_t DumpsterAlwaysOn = 0;
  std::string OutlookExePathQuoted;  // set by the native-view load only
  std::string OutlookExePath;        // set by the 64-bit-view load only
};

}  // namespace tarnwell

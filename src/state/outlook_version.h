#pragma once

#include <string>
#include <string_view>

namespace tarnwell {

enum class Bitness { NotDetermined, Bits32, Bits64 };

// The detected installation. MajorVersion is compared by exact text: "9", "10", "11", "12",
// "14" or "15", empty when none was found.
struct OutlookVersionInfo {
  bool Found = false;
  std::string MajorVersion;
  Bitness OutlookBitness = Bitness::NotDetermined;
  std::string DisplayText;
};

// "Software\Microsoft\Office\<major>.0\", the root of every per-version key.
std::string OfficeKeyRoot(std::string_view major_version);

// Settings are read through the native view unless this is 64-bit Windows with an Outlook
// 2010 or 2013 that is 64-bit or of undetermined bitness.
bool ChooseUse32BitReadPath(bool is_64bit_windows, const OutlookVersionInfo& outlook);

}  // namespace tarnwell

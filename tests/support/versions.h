#pragma once

#include <string_view>

#include "state/outlook_version.h"

namespace tarnwell {

// The version the registry names `number` ("14"); None for any other text.
inline OfficeVersion Version(std::string_view number) {
  for (OfficeVersion version :
       {OfficeVersion::V9, OfficeVersion::V10, OfficeVersion::V11, OfficeVersion::V12,
        OfficeVersion::V14, OfficeVersion::V15, OfficeVersion::V16}) {
    if (VersionNumber(version) == number)
      return version;
  }
  return OfficeVersion::None;
}

inline OutlookVersionInfo Installed(std::string_view number, Bitness bitness = Bitness::Bits32) {
  OutlookVersionInfo outlook;
  outlook.Found = true;
  outlook.MajorVersion = Version(number);
  outlook.OutlookBitness = bitness;
  return outlook;
}

}  // namespace tarnwell

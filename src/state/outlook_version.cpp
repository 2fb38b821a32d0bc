#include "state/outlook_version.h"

namespace tarnwell {

std::string OfficeKeyRoot(std::string_view major_version) {
  return "Software\\Microsoft\\Office\\" + std::string(major_version) + ".0\\";
}

bool ChooseUse32BitReadPath(bool is_64bit_windows, const OutlookVersionInfo& outlook) {
  if (!is_64bit_windows) {
    return true;
  }
  const std::string& major = outlook.MajorVersion;
  if (major == "12" || major == "11" || major == "10" || major == "9") {
    return true;
  }
  return outlook.DisplayText.find("32-bit") != std::string::npos;
}

}  // namespace tarnwell

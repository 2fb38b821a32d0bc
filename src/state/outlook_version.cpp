#include "state/outlook_version.h"

namespace tarnwell {
namespace {

std::string_view ProductName(OfficeVersion version, Product release) {
  switch (release) {
    case Product::OfVersion:
      break;
    case Product::Outlook2019:
      return "Microsoft Outlook 2019";
    case Product::Outlook2021:
      return "Microsoft Outlook 2021";
    case Product::Outlook2024:
      return "Microsoft Outlook 2024";
    case Product::Microsoft365:
      return "Microsoft Outlook for Microsoft 365";
  }
  switch (version) {
    case OfficeVersion::None:
      break;
    case OfficeVersion::V9:
      return "Microsoft Outlook 2000";
    case OfficeVersion::V10:
      return "Microsoft Outlook 2002 (XP)";
    case OfficeVersion::V11:
      return "Microsoft Outlook 2003";
    case OfficeVersion::V12:
      return "Microsoft Outlook 2007";
    case OfficeVersion::V14:
      return "Microsoft Outlook 2010";
    case OfficeVersion::V15:
      return "Microsoft Outlook 2013";
    case OfficeVersion::V16:
      return "Microsoft Outlook 2016";
  }
  return {};
}

}  // namespace

std::string VersionNumber(OfficeVersion version) {
  return version == OfficeVersion::None ? std::string() : std::to_string(static_cast<int>(version));
}

std::string OutlookVersionInfo::DisplayText() const {
  switch (OutlookBitness) {
    case Bitness::NotDetermined:
      break;
    case Bitness::Bits32:
      return std::string(ProductName(MajorVersion, Release)) + " (32-bit)";
    case Bitness::Bits64:
      return std::string(ProductName(MajorVersion, Release)) + " (64-bit)";
  }
  return {};
}

std::string OfficeKeyRoot(OfficeVersion version) {
  return "Software\\Microsoft\\Office\\" + VersionNumber(version) + ".0\\";
}

bool ChooseUse32BitReadPath(bool is_64bit_windows, const OutlookVersionInfo& outlook) {
  if (!is_64bit_windows) {
    return true;
  }
  if (outlook.MajorVersion != OfficeVersion::None && !outlook.HasBitness()) {
    return true;
  }
  return outlook.Is32Bit();
}

}  // namespace tarnwell

#pragma once

#include <string>
#include <string_view>

namespace tarnwell {

// Office's major version, valued as the number in its registry keys ("14.0").
enum class OfficeVersion : int {
  None = 0,
  V9 = 9,    // Outlook 2000
  V10 = 10,  // Outlook 2002 (XP)
  V11 = 11,  // Outlook 2003
  V12 = 12,  // Outlook 2007
  V14 = 14,  // Outlook 2010
  V15 = 15,  // Outlook 2013
  V16 = 16,  // Outlook 2016, 2019, 2021, 2024 and Microsoft 365
};

// How Office was installed: by Windows Installer, with its keys in the registry as they
// are, or by Click-to-Run, which keeps its machine-wide keys in a registry "bubble" and
// says where it is installed in its Configuration key.
enum class InstallKind { Msi, ClickToRun };

// The product a Click-to-Run Office 16.0 names in its release ids; every other
// installation is the product of its version.
enum class Product { OfVersion, Outlook2019, Outlook2021, Outlook2024, Microsoft365 };

enum class Bitness { NotDetermined, Bits32, Bits64 };

// Outlook 2010 and later come in both bitnesses and say which in their key; older ones are
// all 32-bit.
constexpr bool ComesInBothBitnesses(OfficeVersion version) {
  return version >= OfficeVersion::V14;
}

// The major version as the registry names it: "9" to "16"; empty for None.
std::string VersionNumber(OfficeVersion version);

// The detected installation: Found with its major version, bitness and kind, or nothing.
struct OutlookVersionInfo {
  bool Found = false;
  OfficeVersion MajorVersion = OfficeVersion::None;
  Bitness OutlookBitness = Bitness::NotDetermined;
  InstallKind Kind = InstallKind::Msi;
  Product Release = Product::OfVersion;
  // Click-to-Run only: the Office folder that holds OUTLOOK.EXE, ending in a backslash
  // ("C:\Program Files\Microsoft Office\root\Office16\").
  std::string ProgramFolder;

  bool Is(OfficeVersion version) const { return MajorVersion == version; }
  bool IsAtLeast2007() const { return MajorVersion >= OfficeVersion::V12; }
  bool IsAtLeast2010() const { return MajorVersion >= OfficeVersion::V14; }
  bool IsAtLeast2016() const { return MajorVersion >= OfficeVersion::V16; }
  bool HasBitness() const { return ComesInBothBitnesses(MajorVersion); }
  // Only Outlook 2010 and 2013 have a DEP setting: 2016 and later always run with DEP.
  bool HasDepSetting() const { return IsAtLeast2010() && !IsAtLeast2016(); }
  bool IsClickToRun() const { return Kind == InstallKind::ClickToRun; }
  bool Is32Bit() const { return OutlookBitness == Bitness::Bits32; }
  bool Is64Bit() const { return OutlookBitness == Bitness::Bits64; }
  // "Microsoft Outlook 2010 (64-bit)"; empty while the bitness is not determined.
  std::string DisplayText() const;
};

// "Software\Microsoft\Office\<major>.0\", the root of every per-version key.
std::string OfficeKeyRoot(OfficeVersion version);

// Settings are read through the native view unless this is 64-bit Windows with an Outlook
// 2010 or 2013 that is 64-bit or of undetermined bitness.
bool ChooseUse32BitReadPath(bool is_64bit_windows, const OutlookVersionInfo& outlook);

}  // namespace tarnwell

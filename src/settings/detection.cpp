#include "settings/detection.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <span>
#include <vector>

#include "platform/file_system.h"
#include "platform/registry_object.h"
#include "ui/main_layout.h"

namespace tarnwell {
namespace {

using namespace tform1;

// Newest first: the newest installed version is the one shown. Office 16.0 installed by
// Windows Installer is looked for before these, in both views.
constexpr std::array kReleases{OfficeVersion::V15, OfficeVersion::V14, OfficeVersion::V12,
                               OfficeVersion::V11, OfficeVersion::V10, OfficeVersion::V9};
constexpr std::array kOffice16{OfficeVersion::V16};

// A Click-to-Run Office: where its Configuration key is and where OUTLOOK.EXE is below its
// installation folder.
struct ClickToRunRelease {
  OfficeVersion version;
  std::string_view configuration_key;
  std::string_view program_folder;
};

constexpr ClickToRunRelease kClickToRun16{OfficeVersion::V16,
                                          "Software\\Microsoft\\Office\\ClickToRun\\Configuration",
                                          "\\root\\Office16\\"};
constexpr ClickToRunRelease kClickToRun15{
    OfficeVersion::V15, "Software\\Microsoft\\Office\\15.0\\ClickToRun\\Configuration",
    "\\root\\Office15\\"};

constexpr std::string_view kOutlookProgram = "OUTLOOK.EXE";

// Controls that only Outlook 2010 and later have; the DEP box only 2010 and 2013, since
// 2016 and later always run with DEP.
void EnableModernControls(Form& form, const OutlookVersionInfo& outlook) {
  form.SetEnabled(edDocCachePath, true);
  form.SetColour(edDocCachePath, FieldColour::Window);
  form.SetEnabled(btnBrowse5, true);
  form.SetEnabled(cbEnableDEP, outlook.HasDepSetting());
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

// Outlook 2000 lacks these; the .ost field keeps its colour.
constexpr std::array kMissingInOutlook2000{cbDisablePST, cbPOP3,    cbIMAP,        cbExchange,
                                           cbHTTP,       cbOther,   cbReadAsPlain, cbSaveMIME,
                                           edOSTPath,    btnBrowse4};

std::string OutlookKeyPath(OfficeVersion release) {
  return OfficeKeyRoot(release) + "Outlook";
}

void Identify(OfficeVersion release, std::string_view bitness, Form& form,
              OutlookVersionInfo& outlook) {
  const bool x64 = ComesInBothBitnesses(release) && bitness == "x64";
  outlook.MajorVersion = release;
  outlook.OutlookBitness = x64 ? Bitness::Bits64 : Bitness::Bits32;
  form.SetText(pOutlookVersion, outlook.DisplayText());
}

void MarkFound(OfficeVersion release, OutlookVersionInfo& outlook) {
  outlook.MajorVersion = release;
  outlook.Found = true;
}

// The native view, with full rights: a key that refuses full access does not count.
bool ProbeNativeView(Registry& registry, std::span<const OfficeVersion> releases, Form& form,
                     OutlookVersionInfo& outlook) {
  RegistryObject reg(registry);
  reg.SetRootKey(Root::LocalMachine);
  for (OfficeVersion release : releases) {
    const std::string path = OutlookKeyPath(release);
    if (!reg.CanOpenKey("\\" + path)) {
      continue;
    }
    if (ComesInBothBitnesses(release)) {
      // The same key named with a trailing backslash; it fails only when the key went or
      // its rights changed since the first test, and then the bitness stays undetermined.
      if (reg.CanOpenKey("\\" + path + "\\")) {
        reg.OpenKeyForRead(path);
        const std::string bitness = reg.ReadString("Bitness");
        Identify(release, bitness, form, outlook);
        reg.CloseKey();
        EnableModernControls(form, outlook);
      }
    } else {
      Identify(release, {}, form, outlook);
      if (release == OfficeVersion::V9) {
        for (ControlId id : kMissingInOutlook2000) {
          form.SetEnabled(id, false);
        }
      }
    }
    MarkFound(release, outlook);
    return true;
  }
  return false;
}

// A 64-bit Outlook 2010 or later, read-only probe; a Bitness that cannot be read is not x64.
bool ProbeView64(Registry& registry, std::span<const OfficeVersion> releases, Form& form,
                 OutlookVersionInfo& outlook) {
  for (OfficeVersion release : releases) {
    if (!ComesInBothBitnesses(release)) {
      continue;
    }
    RegKey key;
    if (key.Open(registry, Root::LocalMachine, OutlookKeyPath(release), Rights::Read,
                 RegistryView::View64) != kSuccess) {
      continue;
    }
    const std::string text = key.ReadText("Bitness", kLongTextCapacity).value_or("");
    key.Close();
    Identify(release, text, form, outlook);
    EnableModernControls(form, outlook);
    MarkFound(release, outlook);
    return true;
  }
  return false;
}

// A Click-to-Run Office: its Configuration key in the 64-bit view, or only when it does not
// open there in the 32-bit one. It counts only with a full installation path whose Office
// folder holds OUTLOOK.EXE: a Click-to-Run Office without Outlook is no Outlook. Values of
// another type than text count as missing.
bool ProbeClickToRun(Registry& registry, FileSystem& files, const ClickToRunRelease& release,
                     Form& form, OutlookVersionInfo& outlook) {
  RegKey key;
  if (key.Open(registry, Root::LocalMachine, release.configuration_key, Rights::Read,
               RegistryView::View64) != kSuccess &&
      key.Open(registry, Root::LocalMachine, release.configuration_key, Rights::Read,
               RegistryView::NativeView) != kSuccess) {
    return false;
  }
  std::string installation = key.ReadWholeString("InstallationPath").value_or("");
  // One backslash between the parts, whatever the stored path ends with; the folder must
  // name its place ("\\" alone would leave a folder of no drive).
  while (installation.ends_with('\\')) {
    installation.pop_back();
  }
  const std::string folder = installation + std::string(release.program_folder);
  if (!IsFullPath(folder) || !files.FileExists(folder + std::string(kOutlookProgram))) {
    return false;
  }
  outlook.Found = true;
  outlook.MajorVersion = release.version;
  outlook.OutlookBitness =
      key.ReadWholeString("Platform") == "x64" ? Bitness::Bits64 : Bitness::Bits32;
  outlook.Kind = InstallKind::ClickToRun;
  outlook.ProgramFolder = folder;
  if (release.version == OfficeVersion::V16) {
    outlook.Release = ReleaseOf(key.ReadWholeString("ProductReleaseIds").value_or(""));
  }
  form.SetText(pOutlookVersion, outlook.DisplayText());
  EnableModernControls(form, outlook);
  return true;
}

}  // namespace

Product ReleaseOf(std::string_view product_release_ids) {
  std::vector<std::string> ids;
  std::size_t start = 0;
  while (start <= product_release_ids.size()) {
    const std::size_t comma =
        std::min(product_release_ids.find(',', start), product_release_ids.size());
    std::string id = Lower(product_release_ids.substr(start, comma - start));
    // Visio and Project never hold Outlook.
    if (!id.starts_with("visio") && !id.starts_with("project")) {
      ids.push_back(std::move(id));
    }
    start = comma + 1;
  }
  const auto any = [&ids](auto matches) { return std::any_of(ids.begin(), ids.end(), matches); };
  if (any([](const std::string& id) { return id.starts_with("o365") || id.starts_with("m365"); })) {
    return Product::Microsoft365;
  }
  for (const auto& release :
       {std::pair{"2024", Product::Outlook2024}, std::pair{"2021", Product::Outlook2021},
        std::pair{"2019", Product::Outlook2019}}) {
    const std::string_view year = release.first;
    if (any([year](const std::string& id) { return id.find(year) != std::string::npos; })) {
      return release.second;
    }
  }
  return Product::OfVersion;
}

void GetOutlookVersion(Registry& registry, FileSystem& files, Form& form,
                       OutlookVersionInfo& outlook) {
  if (ProbeClickToRun(registry, files, kClickToRun16, form, outlook) ||
      ProbeNativeView(registry, kOffice16, form, outlook) ||
      ProbeView64(registry, kOffice16, form, outlook) ||
      ProbeNativeView(registry, kReleases, form, outlook) ||
      ProbeView64(registry, kReleases, form, outlook)) {
    return;
  }
  ProbeClickToRun(registry, files, kClickToRun15, form, outlook);
}

}  // namespace tarnwell

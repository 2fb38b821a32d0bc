#include "settings/detection.h"

#include <array>

#include "platform/registry_object.h"
#include "ui/main_layout.h"

namespace tarnwell {
namespace {

using namespace tform1;

struct OutlookRelease {
  std::string_view major;
  std::string_view product;  // DisplayText without the bitness
  bool reads_bitness;        // 2010 and 2013 come in both bitnesses
};

constexpr std::array<OutlookRelease, 6> kReleases{{
    {"15", "Microsoft Outlook 2013", true},
    {"14", "Microsoft Outlook 2010", true},
    {"12", "Microsoft Outlook 2007", false},
    {"11", "Microsoft Outlook 2003", false},
    {"10", "Microsoft Outlook 2002 (XP)", false},
    {"9", "Microsoft Outlook 2000", false},
}};

// Controls that only Outlook 2010 and 2013 have.
void EnableModernControls(Form& form) {
  form.SetEnabled(edDocCachePath, true);
  form.SetColour(edDocCachePath, FieldColour::Window);
  form.SetEnabled(btnBrowse5, true);
  form.SetEnabled(cbEnableDEP, true);
}

// Outlook 2000 lacks these; the .ost field keeps its colour.
constexpr std::array kMissingInOutlook2000{cbDisablePST, cbPOP3,    cbIMAP,        cbExchange,
                                           cbHTTP,       cbOther,   cbReadAsPlain, cbSaveMIME,
                                           edOSTPath,    btnBrowse4};

std::string OutlookKeyPath(const OutlookRelease& release) {
  return "Software\\Microsoft\\Office\\" + std::string(release.major) + ".0\\Outlook";
}

void Identify(const OutlookRelease& release, std::string_view bitness, Form& form,
              OutlookVersionInfo& outlook) {
  const bool x64 = release.reads_bitness && bitness == "x64";
  outlook.OutlookBitness = x64 ? Bitness::Bits64 : Bitness::Bits32;
  outlook.DisplayText = std::string(release.product) + (x64 ? " (64-bit)" : " (32-bit)");
  form.SetText(pOutlookVersion, outlook.DisplayText);
}

void MarkFound(const OutlookRelease& release, OutlookVersionInfo& outlook) {
  outlook.MajorVersion = std::string(release.major);
  outlook.Found = true;
}

// The native view, with full rights: a key that refuses full access does not count.
bool ProbeNativeView(Registry& registry, Form& form, OutlookVersionInfo& outlook) {
  RegistryObject reg(registry);
  reg.SetRootKey(Root::LocalMachine);
  for (const auto& release : kReleases) {
    const std::string path = OutlookKeyPath(release);
    if (!reg.CanOpenKey("\\" + path)) {
      continue;
    }
    if (release.reads_bitness) {
      // The same key named with a trailing backslash; it fails only when the key went or
      // its rights changed since the first test, and then the bitness stays undetermined.
      if (reg.CanOpenKey("\\" + path + "\\")) {
        reg.OpenKeyForRead(path);
        const std::string bitness = reg.ReadString("Bitness");
        Identify(release, bitness, form, outlook);
        reg.CloseKey();
        EnableModernControls(form);
      }
    } else {
      Identify(release, {}, form, outlook);
      if (release.major == "9") {
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

// A 64-bit Outlook 2013 or 2010, read-only probe; a Bitness that cannot be read is not x64.
bool ProbeView64(Registry& registry, Form& form, OutlookVersionInfo& outlook) {
  for (const auto& release : kReleases) {
    if (!release.reads_bitness) {
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
    EnableModernControls(form);
    MarkFound(release, outlook);
    return true;
  }
  return false;
}

}  // namespace

void GetOutlookVersion(Registry& registry, Form& form, OutlookVersionInfo& outlook) {
  if (!ProbeNativeView(registry, form, outlook)) {
    ProbeView64(registry, form, outlook);
  }
}

}  // namespace tarnwell

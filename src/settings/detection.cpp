#include "settings/detection.h"

#include <array>

#include "platform/registry_object.h"
#include "ui/main_layout.h"

namespace tarnwell {
namespace {

using namespace tform1;

// Newest first: the newest installed version is the one shown.
constexpr std::array kReleases{OfficeVersion::V15, OfficeVersion::V14, OfficeVersion::V12,
                               OfficeVersion::V11, OfficeVersion::V10, OfficeVersion::V9};

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
bool ProbeNativeView(Registry& registry, Form& form, OutlookVersionInfo& outlook) {
  RegistryObject reg(registry);
  reg.SetRootKey(Root::LocalMachine);
  for (OfficeVersion release : kReleases) {
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
        EnableModernControls(form);
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

// A 64-bit Outlook 2013 or 2010, read-only probe; a Bitness that cannot be read is not x64.
bool ProbeView64(Registry& registry, Form& form, OutlookVersionInfo& outlook) {
  for (OfficeVersion release : kReleases) {
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

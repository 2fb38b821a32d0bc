#include "tools/repair_tool.h"

#include <vector>

#include "platform/registry_object.h"

namespace tarnwell {
namespace {

constexpr std::string_view kToolFile = "ScanPST.exe";
constexpr std::string_view kClickToRunToolFile = "SCANPST.EXE";
constexpr std::string_view kSharedFilesKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr std::string_view kToolInSharedFiles = "SCANPST.EXE";

constexpr std::string_view kNotFound = "The location for the Inbox Repair Tool could not be found.";
constexpr std::string_view kMissing =
    "Either the path of the Inbox Repair Tool is empty or the file (ScanPST.exe) does not exist.";

std::string InstallRootKey(OfficeVersion version) {
  return OfficeKeyRoot(version) + "Word\\InstallRoot";
}

// The first shared-file name that holds the tool's name, taken as its full path. The
// enumeration stops at the first value it cannot read.
std::string SharedFilesCandidate(Registry& registry) {
  std::vector<std::string> names;
  RegKey key;
  if (key.Open(registry, Root::LocalMachine, kSharedFilesKey, Rights::Read, RegistryView::View64) ==
      kSuccess) {
    names = key.ValueNames(kValueEntryCapacity, kValueEntryCapacity);
  }
  for (const std::string& name : names) {
    if (name.find(kToolInSharedFiles) != std::string::npos) {
      return name;
    }
  }
  return {};
}

}  // namespace

std::string ProcessScanPST32Bit(Registry& registry, OfficeVersion version) {
  RegistryObject object(registry);
  object.SetRootKey(Root::LocalMachine);
  const std::string key = InstallRootKey(version);
  if (!object.CanOpenKey(key)) {
    return {};
  }
  std::string path;
  if (object.OpenKeyForRead(key)) {
    path = object.ReadString("Path");
    object.CloseKey();
  }
  return path + std::string(kToolFile);
}

std::string ProcessScanPST64Bit(Registry& registry, OfficeVersion version) {
  RegKey key;
  std::optional<std::string> path;
  if (key.Open(registry, Root::LocalMachine, InstallRootKey(version), Rights::Read,
               RegistryView::View64) != kSuccess ||
      !(path = key.ReadText("Path", kShortTextCapacity))) {
    return {};
  }
  return *path + std::string(kToolFile);
}

void StartRepairTool(const Services& services, const AppState& state) {
  const OutlookVersionInfo& outlook = state.OutlookVersion;
  const OfficeVersion major = outlook.MajorVersion;
  std::string candidate;
  if (outlook.IsClickToRun()) {
    // The tool lies beside OUTLOOK.EXE; Word's InstallRoot is not Click-to-Run's to keep.
    candidate = outlook.ProgramFolder + std::string(kClickToRunToolFile);
  } else if (outlook.IsAtLeast2007()) {
    if (!state.Is64BitWindows || !outlook.HasBitness() || outlook.Is32Bit()) {
      candidate = ProcessScanPST32Bit(services.registry, major);
    } else if (outlook.Is64Bit()) {
      candidate = ProcessScanPST64Bit(services.registry, major);
    }
  } else {
    candidate = SharedFilesCandidate(services.registry);
  }

  if (candidate.empty() || !IsFullPath(candidate)) {
    services.dialogs.Message(MessageKind::Warning, kNotFound);
  } else if (services.file_system.FileExists(candidate)) {
    services.shell.Execute("open", candidate, {}, {}, kShowNormal);
  } else {
    services.dialogs.Message(MessageKind::Warning, kMissing);
  }
}

}  // namespace tarnwell

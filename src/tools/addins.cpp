#include "tools/addins.h"

#include <algorithm>
#include <array>

#include "platform/registry_object.h"

namespace tarnwell {
namespace {

constexpr std::string_view kAddinsKey = "Software\\Microsoft\\Office\\Outlook\\Addins";
// Click-to-Run keeps the machine-wide keys of Office inside its registry "bubble": that of
// 2016 and later below Office's key, that of 2013 below 15.0's. Its 32-bit branch is a
// plain key named as a 64-bit registry editor names it.
constexpr std::string_view kBubble16 =
    "Software\\Microsoft\\Office\\ClickToRun\\REGISTRY\\MACHINE\\";
constexpr std::string_view kBubble15 =
    "Software\\Microsoft\\Office\\15.0\\ClickToRun\\REGISTRY\\MACHINE\\";
constexpr std::string_view kBubbleBranch64 = "Software\\Microsoft\\Office\\Outlook\\Addins";
constexpr std::string_view kBubbleBranch32 =
    "Software\\Wow6432Node\\Microsoft\\Office\\Outlook\\Addins";
constexpr std::string_view kLoadBehavior = "LoadBehavior";
constexpr std::string_view kFriendlyName = "FriendlyName";
constexpr std::string_view kDescription = "Description";

struct KnownLoadBehavior {
  std::uint32_t number;
  std::string_view sentence;
};

// In the order of the radio group's items.
constexpr auto kLoadBehaviors = std::to_array<KnownLoadBehavior>({
    {0, "Add-in Unloaded - Outlook never tries to load the add-in automatically."},
    {1, "Add-in Loaded - Outlook never tries to load the add-in automatically."},
    {2,
     "Add-in Unloaded - Outlook will load the add-in at startup and will change the load "
     "behavior to 3 if successful."},
    {3, "Add-in Loaded - Outlook will load the add-in at startup."},
    {8, "Add-in Unloaded - The add-in will be loaded on demand."},
    {9, "Add-in Loaded - The add-in will be loaded on demand."},
    {16,
     "Add-in Loaded - The add-in will be loaded automatically the first time, then on-demand "
     "afterwards."},
});

std::string AddinKey(std::string_view addins_key, const std::string& key_name) {
  return std::string(addins_key) + "\\" + key_name;
}

// A text read into the fixed buffer: empty when missing or too long for it.
std::string TextOrEmpty(const RegKey& key, std::string_view name) {
  return key.ReadText(name, kLongTextCapacity).value_or("");
}

// An Addins key: where it is, in which view.
struct AddinsKey {
  Root root;
  std::string_view path;
  RegistryView view;
};

// What becomes of a sub-key whose name is listed already: read again, or passed over.
enum class Duplicates { Read, PassOver };

bool IsListed(const std::vector<Addin>& listed, std::string_view key_name) {
  return std::ranges::any_of(
      listed, [key_name](const Addin& addin) { return SameKeyName(addin.key_name, key_name); });
}

// A load behaviour counts only as a REG_DWORD: other data of four bytes or less is no number
// Outlook reads. Nothing is raised: what cannot be read is not listed.
void ReadWithFixedBuffers(Registry& registry, const AddinsKey& addins, Duplicates duplicates,
                          std::vector<Addin>& out) {
  std::vector<std::string> names;
  RegKey key;
  if (key.Open(registry, addins.root, addins.path, Rights::Read, addins.view) == kSuccess) {
    names = key.SubKeyNames(kKeyNameCapacity, IndexFailure::Skip);
  }
  key.Close();
  for (const std::string& name : names) {
    if (duplicates == Duplicates::PassOver && IsListed(out, name)) {
      continue;
    }
    RegKey addin_key;
    std::optional<std::uint32_t> load_behavior;
    if (addin_key.Open(registry, addins.root, AddinKey(addins.path, name), Rights::Read,
                       addins.view) != kSuccess ||
        !(load_behavior = addin_key.ReadDword(kLoadBehavior))) {
      continue;
    }
    out.push_back({name, TextOrEmpty(addin_key, kFriendlyName),
                   TextOrEmpty(addin_key, kDescription), *load_behavior, addins.root});
  }
}

}  // namespace

std::optional<LoadBehaviorMeaning> MeaningOf(std::uint32_t load_behavior) {
  for (std::size_t i = 0; i < kLoadBehaviors.size(); ++i) {
    if (kLoadBehaviors[i].number == load_behavior) {
      return LoadBehaviorMeaning{static_cast<int>(i), kLoadBehaviors[i].sentence};
    }
  }
  return std::nullopt;
}

std::optional<AddinsRead> AddinsReadFor(bool is_64bit_windows, const OutlookVersionInfo& outlook) {
  if (!is_64bit_windows) {
    return AddinsRead::Native;
  }
  if (outlook.MajorVersion == OfficeVersion::None) {
    return std::nullopt;
  }
  // A 64-bit Windows keeps the add-ins of the older versions only in the 64-bit view.
  if (!outlook.HasBitness() || outlook.Is64Bit()) {
    return AddinsRead::View64;
  }
  if (outlook.Is32Bit()) {
    return AddinsRead::Native;
  }
  return std::nullopt;
}

// Through the key object, in the native view; it raises its errors on values of the wrong
// type.
void ProcessOutlook32Bit(Registry& registry, std::vector<Addin>& out) {
  RegistryObject reg(registry);
  reg.SetRootKey(Root::CurrentUser);
  std::vector<std::string> names;
  if (reg.OpenKeyForRead(kAddinsKey)) {
    names = reg.GetKeyNames();
    reg.CloseKey();
  }
  for (const std::string& name : names) {
    if (!reg.OpenKeyForRead("\\" + AddinKey(kAddinsKey, name))) {
      continue;
    }
    if (reg.HasValue(kLoadBehavior)) {
      Addin addin{name, reg.ReadString(kFriendlyName), reg.ReadString(kDescription), 0};
      addin.load_behavior = reg.ReadInteger(kLoadBehavior);
      out.push_back(std::move(addin));
    }
    reg.CloseKey();
  }
}

// Through the registry directly, in the 64-bit view, with fixed buffers.
void ProcessOutlook64Bit(Registry& registry, std::vector<Addin>& out) {
  ReadWithFixedBuffers(registry, {Root::CurrentUser, kAddinsKey, RegistryView::View64},
                       Duplicates::Read, out);
}

void ProcessAllUsers(Registry& registry, AddinsRead read, bool is_64bit_windows,
                     const OutlookVersionInfo& outlook, std::vector<Addin>& out) {
  const RegistryView view =
      read == AddinsRead::Native ? RegistryView::NativeView : RegistryView::View64;
  ReadWithFixedBuffers(registry, {Root::LocalMachine, kAddinsKey, view}, Duplicates::PassOver, out);
  if (!outlook.IsClickToRun()) {
    return;
  }
  // The bubble is no view of its own: its 32-bit branch is a plain key, read in the 64-bit
  // view like the rest of it.
  const bool bubble_32bit_branch = is_64bit_windows && !outlook.Is64Bit();
  const std::string bubble = std::string(outlook.IsAtLeast2016() ? kBubble16 : kBubble15) +
                             std::string(bubble_32bit_branch ? kBubbleBranch32 : kBubbleBranch64);
  ReadWithFixedBuffers(registry, {Root::LocalMachine, bubble, RegistryView::View64},
                       Duplicates::PassOver, out);
}

}  // namespace tarnwell

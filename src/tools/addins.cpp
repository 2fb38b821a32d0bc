#include "tools/addins.h"

#include <algorithm>
#include <array>

#include "platform/registry_object.h"

namespace tarnwell {
namespace {

constexpr std::string_view kAddinsKey = "Software\\Microsoft\\Office\\Outlook\\Addins";
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

std::string AddinKey(const std::string& key_name) {
  return std::string(kAddinsKey) + "\\" + key_name;
}

// A text read into the 64-bit read's buffer: empty when missing or too long for it.
std::string TextOrEmpty(const RegKey& key, std::string_view name) {
  return key.ReadText(name, kLongTextCapacity).value_or("");
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
    if (!reg.OpenKeyForRead("\\" + AddinKey(name))) {
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

// Through the registry directly, in the 64-bit view, with fixed buffers. A load behaviour
// counts only as a REG_DWORD: other data of four bytes or less is no number Outlook reads.
void ProcessOutlook64Bit(Registry& registry, std::vector<Addin>& out) {
  std::vector<std::string> names;
  RegKey key;
  if (key.Open(registry, Root::CurrentUser, kAddinsKey, Rights::Read, RegistryView::View64) ==
      kSuccess) {
    names = key.SubKeyNames(kKeyNameCapacity, IndexFailure::Skip);
  }
  key.Close();
  for (const std::string& name : names) {
    RegKey addin_key;
    std::optional<std::uint32_t> load_behavior;
    if (addin_key.Open(registry, Root::CurrentUser, AddinKey(name), Rights::Read,
                       RegistryView::View64) != kSuccess ||
        !(load_behavior = addin_key.ReadDword(kLoadBehavior))) {
      continue;
    }
    out.push_back({name, TextOrEmpty(addin_key, kFriendlyName),
                   TextOrEmpty(addin_key, kDescription), *load_behavior});
  }
}

}  // namespace tarnwell

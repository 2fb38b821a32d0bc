#include "tools/custom_places.h"

#include <algorithm>

namespace tarnwell {
namespace {

constexpr std::string_view kPlacesBelowOffice = "Common\\Open Find\\Places\\UserDefinedPlaces";

constexpr std::string_view kNameMissing = "You must enter a new location name.";
constexpr std::string_view kPathMissing = "You must enter a new location path.";
constexpr std::string_view kPathNotFound = "You must enter a new location path that exists.";
constexpr std::string_view kNameTaken =
    "The Location Name you entered already exists.  Please change the name and try again.";
// A backslash in a key name makes nested keys, and the place would never be listed.
constexpr std::string_view kNameHasBackslash =
    "A location name cannot contain a backslash (\\).  Please change the name and try again.";

}  // namespace

void ReadPlaces(Registry& registry, OfficeVersion major, CustomPlaces& places) {
  places.listed.clear();
  if (major != OfficeVersion::None) {
    places.key = OfficeKeyRoot(major) + std::string(kPlacesBelowOffice);
  }

  RegKey key;
  if (places.key.empty() || key.Open(registry, Root::CurrentUser, places.key, Rights::Read,
                                     RegistryView::View64) != kSuccess) {
    return;
  }
  const std::vector<std::string> key_names = key.SubKeyNames(kKeyNameCapacity, IndexFailure::Skip);
  key.Close();

  for (const std::string& key_name : key_names) {
    RegKey place;
    std::optional<std::string> name;
    if (!key_name.empty() &&
        place.Open(registry, Root::CurrentUser, places.key + "\\" + key_name, Rights::Read,
                   RegistryView::View64) == kSuccess &&
        (name = place.ReadText("Name", kShortTextCapacity))) {
      places.listed.push_back({key_name, *name});
    }
  }
}

std::optional<std::string_view> PlaceRefusal(const CustomPlaces& places, FileSystem& files,
                                             const std::string& name, const std::string& path) {
  if (name.empty()) {
    return kNameMissing;
  }
  if (path.empty()) {
    return kPathMissing;
  }
  if (!files.FolderExists(path)) {
    return kPathNotFound;
  }
  // As the registry compares key names, so that a place is never overwritten.
  for (const Place& place : places.listed) {
    if (SameKeyName(place.name, name) || SameKeyName(place.key_name, name)) {
      return kNameTaken;
    }
  }
  if (name.find('\\') != std::string::npos) {
    return kNameHasBackslash;
  }
  return std::nullopt;
}

void RemovePlace(Registry& registry, const CustomPlaces& places, const Place& place) {
  RegKey key;
  if (key.Open(registry, Root::CurrentUser, places.key, Rights::Write, RegistryView::View64) ==
      kSuccess) {
    // A failure shows at the next listing, where the place is still there.
    [[maybe_unused]] const Status deleted = key.DeleteSubKey(place.key_name);
  }
}

void AddPlace(Registry& registry, const CustomPlaces& places, const std::string& name,
              const std::string& path) {
  RegKey place;
  if (!places.key.empty() && place.Create(registry, Root::CurrentUser, places.key + "\\" + name,
                                          Rights::Write, RegistryView::NativeView) == kSuccess) {
    [[maybe_unused]] const Status named = place.SetString("Name", name);
    [[maybe_unused]] const Status pathed = place.SetString("Path", path);
  }
}

}  // namespace tarnwell

#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/registry.h"
#include "state/app_state.h"

namespace tarnwell {

// Reads the custom save locations of `version` into `places`: every sub-key of the places
// key that has a readable Name, in the registry's order. The key stays as it was when no
// version was detected.
void ReadPlaces(Registry& registry, OfficeVersion version, CustomPlaces& places);

// The warning that refuses a new place, or nothing when it may be added: it needs a name
// and an existing folder, under a name that no listed place has in any letter case and
// that holds no backslash.
std::optional<std::string_view> PlaceRefusal(const CustomPlaces& places, FileSystem& files,
                                             const std::string& name, const std::string& path);

// Removes the key that holds `place`, whatever its name.
void RemovePlace(Registry& registry, const CustomPlaces& places, const Place& place);

// Writes a place at once, as typed; a key that cannot be made is passed over in silence
// and shows as the place missing from the list.
void AddPlace(Registry& registry, const CustomPlaces& places, const std::string& name,
              const std::string& path);

}  // namespace tarnwell

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"
#include "state/outlook_version.h"

namespace tarnwell {

// One add-in as listed: its key below the Addins key and what was read from it.
struct Addin {
  std::string key_name;
  std::string friendly_name;
  std::string description;
  std::uint32_t load_behavior = 0;
  // LocalMachine: registered for all users.
  Root registered_for = Root::CurrentUser;
};

// A load behaviour Outlook knows: its radio item and the sentence that explains it.
struct LoadBehaviorMeaning {
  int radio_index;
  std::string_view sentence;
};
std::optional<LoadBehaviorMeaning> MeaningOf(std::uint32_t load_behavior);

// Which read lists the add-ins of the detected Outlook: the native view on 32-bit Windows
// and for a 32-bit Outlook 2010 or later, the 64-bit view for the older versions and a
// 64-bit Outlook; none when nothing was detected or its bitness is not known.
enum class AddinsRead { Native, View64 };
std::optional<AddinsRead> AddinsReadFor(bool is_64bit_windows, const OutlookVersionInfo& outlook);

// The current user's add-ins that have a load behaviour, in the registry's order, appended
// to `out`. The native read goes through the key object, which raises RegistryError on a
// value of the wrong type; what was read before the error stays in `out`.
void ProcessOutlook32Bit(Registry& registry, std::vector<Addin>& out);
// The 64-bit view's read, with fixed buffers; it raises nothing.
void ProcessOutlook64Bit(Registry& registry, std::vector<Addin>& out);

// The add-ins registered for all users, read as the 64-bit view's read reads, appended to
// `out` after the user's: HKLM's Addins key in the view of `read`, then for Click-to-Run
// the Addins key of its bubble's branch of Outlook's bitness, always in the 64-bit view. A
// key name `out` already holds, in any letter case, is passed over unread, as Outlook lets
// the user's entry win; so does the first of two machine-wide ones.
void ProcessAllUsers(Registry& registry, AddinsRead read, bool is_64bit_windows,
                     const OutlookVersionInfo& outlook, std::vector<Addin>& out);

}  // namespace tarnwell

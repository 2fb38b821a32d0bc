#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"
#include "state/outlook_version.h"
#include "ui/form.h"

namespace tarnwell {

// The stored allow list's pieces between its ";" separators, exactly as stored (no
// trimming, no change of case): one more piece than there are separators, however many.
std::vector<std::string> BreakSecList(std::string_view level1remove);

// Fills "Level 3 (Blocked)" and "Level 1 (Allowed)" in catalogue order: an extension is
// allowed when the stored list is not empty and one of its pieces is exactly it.
void FillAttachmentLists(Form& form, std::string_view level1remove);

// The stored pieces that name no catalogue extension exactly ("zip", "EXE", ".bat"): the
// lists do not show them, and a save keeps them, since other tools and administrators
// write them. In stored order, each spelling once, empty pieces dropped.
std::vector<std::string> UnlistedPieces(std::string_view level1remove);

// The allowed items in list order, then the kept pieces, joined by ";".
std::string ComposeLevel1Remove(const std::vector<std::string>& allowed,
                                const std::vector<std::string>& kept = {});

// Writes Level1Remove below Outlook\Security: the allowed list followed by the loaded
// value's unlisted pieces. An empty value always, any other only when it differs from
// what was loaded.
void WriteLevel1Remove(Registry& registry, OfficeVersion version,
                       const std::vector<std::string>& allowed, std::string_view loaded);

}  // namespace tarnwell

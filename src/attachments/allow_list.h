#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarnwell {

// The stored allow list's pieces between its ";" separators, exactly as stored (no
// trimming, no change of case): one more piece than there are separators, however many.
std::vector<std::string> BreakSecList(std::string_view level1remove);

// The catalogue's extensions in catalogue order, split into "Level 3 (Blocked)" and
// "Level 1 (Allowed)": an extension is allowed when the stored list is not empty and one
// of its pieces is exactly it.
struct AttachmentLists {
  std::vector<std::string_view> blocked;
  std::vector<std::string_view> allowed;
};
AttachmentLists SplitByAllowList(std::string_view level1remove);

// The stored pieces that name no catalogue extension exactly ("zip", "EXE", ".bat"): the
// lists do not show them, and a save keeps them, since other tools and administrators
// write them. In stored order, each spelling once, empty pieces dropped.
std::vector<std::string> UnlistedPieces(std::string_view level1remove);

// The allowed items in list order, then the kept pieces, joined by ";".
std::string ComposeLevel1Remove(const std::vector<std::string>& allowed,
                                const std::vector<std::string>& kept = {});

}  // namespace tarnwell

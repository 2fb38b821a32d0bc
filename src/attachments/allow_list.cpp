#include "attachments/allow_list.h"

#include <unordered_set>

#include "attachments/extension_catalogue.h"

namespace tarnwell {

std::vector<std::string> BreakSecList(std::string_view level1remove) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  for (std::size_t separator = level1remove.find(';'); separator != std::string_view::npos;
       separator = level1remove.find(';', start)) {
    pieces.emplace_back(level1remove.substr(start, separator - start));
    start = separator + 1;
  }
  pieces.emplace_back(level1remove.substr(start));
  return pieces;
}

AttachmentLists SplitByAllowList(std::string_view level1remove) {
  // A stored list may hold many thousands of pieces: look each extension up once.
  const std::vector<std::string> pieces = BreakSecList(level1remove);
  const std::unordered_set<std::string_view> stored(pieces.begin(), pieces.end());
  AttachmentLists lists;
  for (const AttachmentExtension& row : kAttachmentExtensionCatalogue) {
    const bool allowed = !level1remove.empty() && stored.count(row.extension) > 0;
    (allowed ? lists.allowed : lists.blocked).push_back(row.extension);
  }
  return lists;
}

std::vector<std::string> UnlistedPieces(std::string_view level1remove) {
  std::unordered_set<std::string_view> listed;
  for (const AttachmentExtension& row : kAttachmentExtensionCatalogue) {
    listed.insert(row.extension);
  }
  std::vector<std::string> kept;
  std::unordered_set<std::string> seen;
  for (std::string& piece : BreakSecList(level1remove)) {
    if (!piece.empty() && listed.count(piece) == 0 && seen.insert(piece).second) {
      kept.push_back(std::move(piece));
    }
  }
  return kept;
}

std::string ComposeLevel1Remove(const std::vector<std::string>& allowed,
                                const std::vector<std::string>& kept) {
  std::string text;
  for (const auto* pieces : {&allowed, &kept}) {
    for (const std::string& piece : *pieces) {
      if (!text.empty()) {
        text += ';';
      }
      text += piece;
    }
  }
  return text;
}

}  // namespace tarnwell

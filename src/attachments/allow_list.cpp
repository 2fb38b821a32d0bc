#include "attachments/allow_list.h"

#include <unordered_set>

#include "attachments/extension_catalogue.h"
#include "settings/settings_catalogue.h"
#include "ui/main_layout.h"

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

void FillAttachmentLists(Form& form, std::string_view level1remove) {
  // A stored list may hold many thousands of pieces: look each extension up once.
  const std::vector<std::string> pieces = BreakSecList(level1remove);
  const std::unordered_set<std::string_view> stored(pieces.begin(), pieces.end());
  for (const AttachmentExtension& row : kAttachmentExtensionCatalogue) {
    const bool allowed = !level1remove.empty() && stored.count(row.extension) > 0;
    form.AddItem(allowed ? tform1::lbAllowed : tform1::lbBlocked, row.extension);
  }
}

std::string ComposeLevel1Remove(const std::vector<std::string>& allowed) {
  std::string text;
  for (std::size_t i = 0; i < allowed.size(); ++i) {
    if (i > 0) {
      text += ';';
    }
    text += allowed[i];
  }
  return text;
}

void WriteLevel1Remove(Registry& registry, std::string_view major_version,
                       const std::vector<std::string>& allowed, std::string_view loaded) {
  const std::string text = ComposeLevel1Remove(allowed);
  if (!allowed.empty() && text == loaded) {
    return;
  }
  const SettingRow& row = CatalogueRow(Setting::Level1Remove);
  RegKey key;
  if (key.Create(registry, row.root, SettingKeyPath(row.key, major_version), Rights::Write,
                 RegistryView::NativeView) == kSuccess) {
    (void)key.SetString(row.name, text);
  }
}

}  // namespace tarnwell

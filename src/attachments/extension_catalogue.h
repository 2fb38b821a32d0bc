#pragma once

#include <array>
#include <string_view>

namespace tarnwell {

// An attachment extension that Outlook may block. The first 60 have a line in the
// descriptions window: what the file type is, and in which Outlook versions it is blocked
// when that is not all of them.
struct AttachmentExtension {
  std::string_view extension;    // lower case, no dot
  std::string_view description;  // empty for the rows without a line
  std::string_view note;         // the versions note, or empty
};

extern const std::array<AttachmentExtension, 76> kAttachmentExtensionCatalogue;

// The 60 lines of the descriptions window, in catalogue order.
std::array<std::string, 60> AttachmentDescriptionLines();

}  // namespace tarnwell

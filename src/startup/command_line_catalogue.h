#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "state/outlook_version.h"

namespace tarnwell {

enum class ArgumentKind { None, Text, File };

// In which Outlook versions a switch exists, as written when 2013 was the newest release: a
// note naming 2013 covers 2016 and later too.
enum class VersionNote {
  None,
  Only2013,
  Only2007And2010,
  Only2010And2013,
  Only2007To2013,
  RemovedIn2010,
  RemovedIn2007,
};

// One of Outlook's command-line switches as the "Startup Options" page offers it.
struct CommandLineOption {
  std::string_view list_text;
  ArgumentKind argument;
  VersionNote note;
  std::vector<std::string_view> description;
  // For a file argument: the browse dialog's default extension and filter.
  std::string_view default_extension;
  std::string_view filter;
  // Gone from Outlook 2016 and later, which a note written up to 2013 cannot say.
  bool removed_in_2016 = false;
};

const std::array<CommandLineOption, 71>& CommandLineOptionCatalogue();

// The note's first memo line in the detected major version: "OUTLOOK 2013 ONLY", ... up to
// 2013, "OUTLOOK 2013 AND LATER", ... in 2016 and later; empty for none.
std::string_view VersionNoteText(VersionNote note, OfficeVersion version);
// Whether a switch with this note can be launched with the detected major version.
bool LaunchAllowed(VersionNote note, OfficeVersion version);

// The same for one switch: its note, or that it is gone from 2016 and later.
std::string_view VersionNoteText(const CommandLineOption& option, OfficeVersion version);
bool LaunchAllowed(const CommandLineOption& option, OfficeVersion version);

}  // namespace tarnwell

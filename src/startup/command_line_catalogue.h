#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "state/outlook_version.h"

namespace tarnwell {

enum class ArgumentKind { None, Text, File };

// In which Outlook versions a switch exists.
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
};

const std::array<CommandLineOption, 71>& CommandLineOptionCatalogue();

// The note's first memo line: "OUTLOOK 2013 ONLY", ...; empty for none.
std::string_view VersionNoteText(VersionNote note);
// Whether the switch can be launched with the detected major version.
bool LaunchAllowed(VersionNote note, OfficeVersion version);

}  // namespace tarnwell

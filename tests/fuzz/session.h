#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "fakes/memory_file_system.h"
#include "fakes/memory_registry.h"
#include "ui/dialogs.h"

namespace tarnwell::fuzz {

// What happened, in order; text: control, message, command or file; detail: caption, kind or verb.
struct Step {
  enum class Kind { Action, Message, Write, Process, Shell };
  Kind kind;
  std::string text, detail;
  Answer answer = Answer::Ok;
  MemoryRegistry::Write write{};
};

// The machine as it was before the program started, and what the program detected on it.
struct Facts {
  std::string major;                // the version detected, or empty
  bool click_to_run = false;        // and that it was a Click-to-Run Office
  std::string program_folder;       // whose Office folder it named
  std::set<std::string> installed;  // versions with an Outlook key or a Click-to-Run key
  bool elevated = false;
  bool faults = false;                   // registry calls were made to fail
  std::optional<RegValue> level1remove;  // the detected version's stored allow list
  std::optional<RegValue> dumpster;      // the stored recover-deleted-items number
};

struct Run {
  std::vector<Step> steps;
  Facts facts;
  MemoryFileSystem files;
  std::string escaped;  // what an exception that escaped a handler said
};

// A machine built from the bytes, the program started on it and the session the rest spell.
Run RunSession(std::span<const std::uint8_t> bytes);
// Each promise to the program's users that the session broke, as one line.
std::vector<std::string> Violations(const Run& run);
// Whether a registry file that is accepted reads the same once written again.
std::vector<std::string> RoundTripFaults(std::span<const std::uint8_t> bytes);

}  // namespace tarnwell::fuzz

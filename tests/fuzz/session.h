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

// One thing the program did, or the user did to it, in the order it happened. An action's
// text is the control's name, or "activate", "close box", "end", its detail the caption; a
// message's detail is its kind's name or "error box"; a shell step's detail is the verb, or
// "run" for a program waited for; a process's text is the command line.
struct Step {
  enum class Kind { Action, Message, Write, Process, Shell };
  Kind kind;
  std::string text;
  std::string detail;
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

// Builds a machine from the bytes (a registry, failing registry calls, folders and files),
// starts the program on it and plays the user's session that the rest of the bytes spell.
Run RunSession(std::span<const std::uint8_t> bytes);

// What must hold after any session, one line per broken rule, judged from what the session
// recorded and the machine's folders by what the program promises its users.
std::vector<std::string> Violations(const Run& run);

// What must hold for any bytes: a registry file that is accepted, written and read again,
// gives the same keys. The fault, if any.
std::vector<std::string> RoundTripFaults(std::span<const std::uint8_t> bytes);

}  // namespace tarnwell::fuzz

#pragma once

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fakes/journal.h"
#include "platform/clock.h"
#include "platform/processes.h"
#include "platform/shell.h"

namespace tarnwell {

// Processes that a test sets up; every start is journalled and answered as the test says.
class FakeProcesses final : public Processes {
  Journal* journal_;

 public:
  explicit FakeProcesses(Journal* journal) : journal_(journal) {}

  std::optional<std::vector<Entry>> running = std::vector<Entry>{};  // nothing: no snapshot
  Started answer{true, 0};

  std::optional<std::vector<Entry>> Running() override { return running; }
  Started Start(std::string_view command_line, std::uint32_t creation_flags) override {
    char flags[16];
    std::snprintf(flags, sizeof(flags), "0x%X", creation_flags);
    journal_->Add("start process [" + std::string(command_line) + "] flags " + flags);
    return answer;
  }
};

// A shell that journals what it is asked to do and answers with `result`.
class FakeShell final : public Shell {
  Journal* journal_;

 public:
  explicit FakeShell(Journal* journal) : journal_(journal) {}

  std::intptr_t result = 42;
  // What a program run and waited for does, and how the wait ends.
  std::function<void()> on_run;
  Ran ran = Ran::Ended;

  std::intptr_t Execute(std::string_view verb, std::string_view file, std::string_view parameters,
                        std::string_view folder, int show) override {
    journal_->Add("shell " + std::string(verb) + " [" + std::string(file) + "] parameters [" +
                  std::string(parameters) + "] folder [" + std::string(folder) + "] show " +
                  std::to_string(show));
    return result;
  }
  Ran RunAndWait(std::string_view file, std::string_view parameters, int show,
                 unsigned milliseconds) override {
    journal_->Add("shell run [" + std::string(file) + "] parameters [" + std::string(parameters) +
                  "] show " + std::to_string(show) + " wait " + std::to_string(milliseconds));
    if (on_run && ran != Ran::NotStarted) {
      on_run();
    }
    return ran;
  }
};

// A clock that always says the same day and time.
class FixedClock final : public Clock {
 public:
  DateTime now{{2013, 4, 7}, 9, 5, 3};
  Date Today() override { return now.date; }
  DateTime Now() override { return now; }
};

}  // namespace tarnwell

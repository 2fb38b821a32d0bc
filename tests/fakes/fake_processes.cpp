#include "fakes/fake_processes.h"

#include <cstdio>

namespace tarnwell {

Processes::Started FakeProcesses::Start(std::string_view command_line,
                                        std::uint32_t creation_flags) {
  char flags[16];
  std::snprintf(flags, sizeof(flags), "0x%X", creation_flags);
  if (journal_ != nullptr) {
    journal_->Add("start process [" + std::string(command_line) + "] flags " + flags);
  }
  return answer;
}

std::intptr_t FakeShell::Execute(std::string_view verb, std::string_view file,
                                 std::string_view parameters, std::string_view folder, int show) {
  if (journal_ != nullptr) {
    journal_->Add("shell " + std::string(verb) + " [" + std::string(file) + "] parameters [" +
                  std::string(parameters) + "] folder [" + std::string(folder) + "] show " +
                  std::to_string(show));
  }
  return result;
}

Shell::Ran FakeShell::RunAndWait(std::string_view file, std::string_view parameters, int show,
                                 unsigned milliseconds) {
  if (journal_ != nullptr) {
    journal_->Add("shell run [" + std::string(file) + "] parameters [" + std::string(parameters) +
                  "] show " + std::to_string(show) + " wait " + std::to_string(milliseconds));
  }
  if (on_run && ran != Ran::NotStarted) {
    on_run();
  }
  return ran;
}

}  // namespace tarnwell

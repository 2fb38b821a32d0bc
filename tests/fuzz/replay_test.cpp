// The fuzz campaign's saved inputs, replayed: each one is a machine and a session that once
// found a fault or reached code no other input reached. And the checker itself, shown
// sessions that break each promise.
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <iterator>

#include "fuzz/session.h"

namespace tarnwell::fuzz {
namespace {

using testing::IsEmpty;
using Kind = MemoryRegistry::Write::Kind;

std::vector<std::uint8_t> Bytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(FuzzCorpus, EveryInputKeepsEveryPromise) {
  std::size_t inputs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(TARNWELL_FUZZ_CORPUS)) {
    const auto run = RunSession(Bytes(entry.path()));
    EXPECT_THAT(Violations(run), IsEmpty()) << entry.path().filename();
    ++inputs;
  }
  EXPECT_GE(inputs, 20u);
}

const std::string kOffice = "Software\\Microsoft\\Office\\14.0\\";

Step Act(std::string control) {
  return {Step::Kind::Action, std::move(control), "Tarnwell"};
}
Step Say(std::string text, std::string kind = "warning", Answer answer = Answer::Ok) {
  return {Step::Kind::Message, std::move(text), std::move(kind), answer};
}
Step Ask(std::string text, Answer answer) {
  return Say(std::move(text), "confirmation", answer);
}
Step Set(std::string key, std::string name, RegValue value, Root root = Root::CurrentUser) {
  return {Step::Kind::Write,
          {},
          {},
          Answer::Ok,
          {Kind::Set, root, std::move(key), std::move(name), std::move(value)}};
}
Step Dword(std::string key, std::string name, std::uint32_t number) {
  return Set(std::move(key), std::move(name), {ValueType::Dword, DwordData(number)});
}
Step Text(std::string key, std::string name, std::string_view text) {
  return Set(std::move(key), std::move(name), {ValueType::String, StringData(text)});
}
Step Delete(std::string key) {
  return {Step::Kind::Write, {}, {}, Answer::Ok, {Kind::Delete, Root::CurrentUser, key, {}, {}}};
}
Step Start(std::string verb, std::string file) {
  return {verb.empty() ? Step::Kind::Process : Step::Kind::Shell, std::move(file), std::move(verb)};
}

const Step kConfirmed = Ask("Are you sure you want to make these changes?", Answer::Yes);
const Step kRestart =
    Say("You must restart Outlook for these changes to take effect.", "information");

// A session on a machine with Outlook 2010, by Windows Installer, and the folder C:\Mail,
// elevated, whose stored allow list holds "exe;zip".
Run Session(std::vector<Step> steps) {
  Run run;
  run.steps = std::move(steps);
  run.facts.major = "14";
  run.facts.installed = {"14"};
  run.facts.elevated = true;
  run.facts.level1remove = RegValue{ValueType::String, StringData("exe;zip")};
  run.files.AddFolder("C:\\Mail");
  return run;
}

// Each session breaks one promise, and the checker names it; the same session without the
// step that breaks it passes.
TEST(FuzzChecker, NamesEachBrokenPromise) {
  const std::string security = kOffice + "Outlook\\Security";
  const std::string places = kOffice + "Common\\Open Find\\Places\\UserDefinedPlaces";
  const struct {
    std::vector<Step> fine;
    Step breaking;
    std::string named;
  } cases[] = {
      {{Act("btnExit")}, Dword(kOffice + "Outlook", "DisablePST", 1), "did not ask for"},
      {{Act("btnSave"), Ask("Are you sure you want to make these changes?", Answer::No)},
       Dword(kOffice + "Outlook", "DisablePST", 1),
       "did not ask for"},
      {{Say("Invalid data type for 'Bitness'", "error box"), Act("btnCustomPlaces")},
       Text(places + "\\Mail", "Name", "Mail"),
       "failed start-up"},
      {{Act("btnSave"), kConfirmed}, Dword(kOffice + "Outlook", "DisablePST", 2), "0 or 1"},
      {{Act("btnSave"), kConfirmed},
       Dword("Software\\Microsoft\\Office\\12.0\\Outlook", "DisablePST", 1),
       "does not save"},
      {{Act("btnSave"), kConfirmed}, Text(kOffice + "Outlook", "DisablePST", "1"), "another type"},
      {{Act("btnSave"), kConfirmed},
       Text(kOffice + "Outlook", "ForcePSTPath", "C:\\Gone"),
       "does not exist"},
      {{Act("btnSave"), kConfirmed},
       Text(security, "Level1Remove", "exe;bat;com"),
       "lost a stored piece: [zip]"},
      {{Act("btnSave"), kConfirmed},
       Text(security, "Level1Remove", "zip;exe;x"),
       "piece of its own: [x]"},
      {{Act("btnSave"), kConfirmed}, Delete(places), "deleted"},
      {{Act("btnSave"), kConfirmed, kRestart}, Act("btnExit"), "went on after"},
      {{Act("btnRemove"),
        Ask("Are you sure that you want to remove the custom location : [M]?", Answer::No)},
       Delete(places + "\\M"),
       "did not ask for"},
      {{Act("btnAddToList")},
       Text(places + "\\Mail", "Path", "C:\\Elsewhere"),
       "no existing folder"},
      {{Act("btnAbout")}, Say("Something went wrong"), "none of the program's"},
      {{Act("btnAbout")}, Start("open", "C:\\Windows\\notepad.exe"), "did not ask for"},
      {{Act("btnLaunchOutlook")}, Start("", "\"Office14\\OUTLOOK.EXE\" /safe"), "did not ask for"},
      {{Act("btnLaunchOutlook")}, Start("open", "OUTLOOK.EXE"), "did not ask for"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.named);
    EXPECT_THAT(Violations(Session(c.fine)), IsEmpty());
    std::vector<Step> broken = c.fine;
    broken.push_back(c.breaking);
    EXPECT_THAT(Violations(Session(broken)), testing::ElementsAre(testing::HasSubstr(c.named)));
  }
}

// Outlook 2016 by Click-to-Run: settings only below 16.0, no DEP setting, started from the
// detected Office folder, which holds OUTLOOK.EXE.
TEST(FuzzChecker, ClickToRunOutlook2016) {
  const std::string office = "Software\\Microsoft\\Office\\16.0\\";
  const std::string folder = "C:\\Program Files\\Microsoft Office\\root\\Office16\\";
  const auto session = [&](std::vector<Step> steps) {
    auto run = Session(std::move(steps));
    run.facts.major = "16";
    run.facts.installed = {"16"};
    run.facts.click_to_run = true;
    run.facts.program_folder = folder;
    run.files.AddFile(folder + "OUTLOOK.EXE");
    return run;
  };
  const std::vector<Step> launch = {Act("btnLaunchOutlook"),
                                    Start("", "\"" + folder + "OUTLOOK.EXE\" /safe")};
  const std::vector<Step> save = {Act("btnSave"), kConfirmed,
                                  Dword(office + "Outlook", "DisablePST", 1)};
  EXPECT_THAT(Violations(session(launch)), IsEmpty());
  EXPECT_THAT(Violations(session(save)), IsEmpty());
  const struct {
    fuzz::Run run;
    std::string named;
  } cases[] = {
      {session({Act("btnLaunchOutlook"),
                Start("open", "\"C:\\Program Files\\Microsoft Office\\Office16\\OUTLOOK.EXE\"")}),
       "did not ask for"},
      {session({Act("btnSave"), kConfirmed, Dword(office + "Outlook\\Security", "EnableDEP", 0)}),
       "EnableDEP for version 16"},
      {session({Act("btnSave"), kConfirmed, Dword(kOffice + "Outlook", "DisablePST", 1)}),
       "does not save"},
  };
  for (const auto& c : cases) {
    EXPECT_THAT(Violations(c.run), testing::ElementsAre(testing::HasSubstr(c.named)));
  }
  // The detection's own promises.
  auto run = session(save);
  run.facts.installed = {"15"};
  EXPECT_THAT(Violations(run), testing::ElementsAre(testing::HasSubstr("without it")));
  run = session(launch);
  run.files.Remove(folder + "OUTLOOK.EXE");
  EXPECT_THAT(Violations(run), testing::ElementsAre(testing::HasSubstr("Click-to-Run")));
  run = session(save);
  run.facts.program_folder = "C:\\Program Files\\Microsoft Office\\\\root\\Office16\\";
  run.files.AddFile(run.facts.program_folder + "OUTLOOK.EXE");
  EXPECT_THAT(Violations(run), testing::ElementsAre(testing::HasSubstr("Click-to-Run")));
}

// The machine-wide number: only elevated, and only when the box differs from what is stored.
TEST(FuzzChecker, RecoverDeletedItemsOnlyElevatedAndChanged) {
  const std::string exchange = "Software\\Microsoft\\Exchange\\Client\\Options";
  const std::vector<Step> save = {Act("btnSave"), kConfirmed,
                                  Dword(exchange, "DumpsterAlwaysOn", 1)};
  auto run = Session(save);
  run.steps.back().write.root = Root::LocalMachine;
  EXPECT_THAT(Violations(run), IsEmpty());
  run.facts.elevated = false;
  EXPECT_THAT(Violations(run), testing::ElementsAre(testing::HasSubstr("administrator")));
  run.facts.elevated = true;
  run.facts.dumpster = RegValue{ValueType::Dword, DwordData(1)};
  EXPECT_THAT(Violations(run), testing::ElementsAre(testing::HasSubstr("unchanged")));
  run.escaped = "no control 9999";
  EXPECT_THAT(Violations(run), testing::Contains(testing::HasSubstr("exception escaped")));
}

}  // namespace
}  // namespace tarnwell::fuzz

// The fuzz campaigns' saved inputs, replayed: each one once found a fault or reached code no
// other input reached. And the checker, shown sessions that break each promise.
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <iterator>

#include "fuzz/session.h"
#include "platform/registry_object.h"
#include "settings/backup.h"
#include "settings/reg_file.h"

namespace tarnwell::fuzz {
namespace {

using testing::IsEmpty;
using Kind = MemoryRegistry::Write::Kind;

std::vector<std::pair<std::string, std::vector<std::uint8_t>>> Inputs(const char* folder) {
  std::vector<std::pair<std::string, std::vector<std::uint8_t>>> inputs;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    std::ifstream in(entry.path(), std::ios::binary);
    inputs.emplace_back(entry.path().filename().string(),
                        std::vector<std::uint8_t>{std::istreambuf_iterator<char>(in), {}});
  }
  return inputs;
}

TEST(FuzzCorpus, EveryInputKeepsEveryPromise) {
  const auto inputs = Inputs(TARNWELL_FUZZ_CORPUS);
  for (const auto& [name, bytes] : inputs) {
    EXPECT_THAT(Violations(RunSession(bytes)), IsEmpty()) << name;
  }
  EXPECT_GE(inputs.size(), 20u);
}

// Registry files round-trip, and the hand-made ones are judged as named: "valid-" accepted,
// "broken-" refused.
TEST(RegFileCorpus, EveryInputRoundTripsAndIsJudgedAsNamed) {
  std::size_t judged = 0;
  for (const auto& [name, bytes] : Inputs(TARNWELL_REG_FILE_CORPUS)) {
    EXPECT_THAT(RoundTripFaults(bytes), IsEmpty()) << name;
    const bool valid = name.starts_with("valid-");
    if (valid || name.starts_with("broken-")) {
      EXPECT_EQ(valid, ReadRegFile(bytes).index() == 0) << name;
      ++judged;
    }
  }
  EXPECT_GE(judged, 10u);
}

const std::string kOffice = "Software\\Microsoft\\Office\\14.0\\";
const std::string kPlaces = kOffice + "Common\\Open Find\\Places\\UserDefinedPlaces";
const std::string kFolder = "C:\\Program Files\\Microsoft Office\\root\\Office16\\";
const std::string kExchange = "Software\\Microsoft\\Exchange\\Client\\Options";

Step Act(std::string control) {
  return {Step::Kind::Action, std::move(control), "Tarnwell"};
}
Step Say(std::string text, std::string kind, Answer answer = Answer::Ok) {
  return {Step::Kind::Message, std::move(text), std::move(kind), answer};
}
Step Set(std::string key, RegValue value, std::string name = {}, Kind kind = Kind::Set) {
  Step step{Step::Kind::Write, {}, {}};
  step.write = {kind, Root::CurrentUser, std::move(key), std::move(name), std::move(value)};
  return step;
}
Step Dword(std::string key, std::string name, std::uint32_t number) {
  return Set(std::move(key), {ValueType::Dword, DwordData(number)}, std::move(name));
}
Step Text(std::string key, std::string name, std::string_view text) {
  return Set(std::move(key), {ValueType::String, StringData(text)}, std::move(name));
}
Step Start(std::string verb, std::string file) {
  return {verb.empty() ? Step::Kind::Process : Step::Kind::Shell, std::move(file), std::move(verb)};
}
Step Machine(Step step) {
  step.write.root = Root::LocalMachine;
  return step;
}

// Outlook 2010 by Windows Installer on an elevated machine with the folder C:\Mail, whose
// stored allow list holds "exe;zip" and whose backup folder holds a backup; or Outlook 2016
// by Click-to-Run.
Run Session(std::vector<Step> steps, bool click_to_run) {
  Run run{std::move(steps), {}, {}, {}};
  run.facts.major = click_to_run ? "16" : "14";
  run.facts.installed = {run.facts.major};
  run.facts.click_to_run = click_to_run;
  run.facts.program_folder = click_to_run ? kFolder : "";
  run.facts.elevated = true;
  run.facts.level1remove = RegValue{ValueType::String, StringData("exe;zip")};
  run.files.AddFolder("C:\\Mail").AddFile(kFolder + "OUTLOOK.EXE");
  run.files.MakeFolders(BackupFolder(run.files));
  run.files.WriteWholeFile(BackupFolder(run.files) + "backup.reg",
                           "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n");
  return run;
}

// Each session breaks one promise, and the checker names it; the same session without the
// steps or the change to the machine that break it passes.
TEST(FuzzChecker, NamesEachBrokenPromise) {
  const Step save = Act("btnSave"), yes = Say("Save?", "confirmation", Answer::Yes);
  const Step pst = Dword(kOffice + "Outlook", "DisablePST", 1);
  const std::string security = kOffice + "Outlook\\Security";
  const struct {
    std::vector<Step> fine, breaking;
    std::string named;
    void (*change)(fuzz::Run&) = nullptr;
    bool click_to_run = false;
  } cases[] = {
      {{}, {pst}, "a registry write at start-up"},
      {{Act("btnRemove"), Say("Remove?", "confirmation", Answer::No)},
       {Set(kPlaces + "\\M", {}, {}, Kind::Delete)},
       "a registry write the user did not ask for"},
      {{Say(InvalidDataTypeText("Bitness"), "error box"), Act("btnCustomPlaces")},
       {Text(kPlaces + "\\Mail", "Name", "Mail")},
       "failed start-up"},
      {{}, {Say("Something went wrong", "error box")}, "an error box of another kind"},
      {{save, yes}, {Dword(kOffice + "Outlook", "DisablePST", 2)}, "other than 0, 1 or one text"},
      {{save, yes}, {Dword("Software\\Other", "DisablePST", 1)}, "outside its values"},
      {{save, yes}, {Text(kOffice + "Outlook", "ForcePSTPath", "C:\\Gone")}, "does not exist"},
      {{save, yes, pst}, {pst}, "a value twice"},
      {{save, yes, pst}, {}, "before a backup", [](fuzz::Run& r) { r.files = {}; }},
      {{save, yes}, {Text(security, "Level1Remove", "exe;zip;exe")}, "with a piece twice"},
      {{save, yes}, {Text(security, "Level1Remove", "exe;bat")}, "lost a stored piece: [zip]"},
      {{save, yes}, {Text(security, "Level1Remove", "zip;exe;x")}, "piece of its own: [x]"},
      {{save, yes}, {Set(kPlaces, {}, {}, Kind::Delete)}, "deleted a key or a value"},
      {{save, yes}, {Act("btnExit")}, "went on after a confirmed save"},
      {{Act("btnAddToList")}, {Text(kPlaces + "\\Mail", "Path", "C:\\Else")}, "an added place"},
      {{Act("btnLaunchOutlook"), Start("", "\"" + kFolder + "OUTLOOK.EXE\" /safe")},
       {Start("open", "\"C:\\Program Files\\Microsoft Office\\Office16\\OUTLOOK.EXE\"")},
       "a program started that the user did not ask for",
       nullptr,
       true},
      {{save, yes},
       {Dword("Software\\Microsoft\\Office\\16.0\\Outlook\\Security", "EnableDEP", 0)},
       "EnableDEP for version 16",
       nullptr,
       true},
      {{save, yes}, {Machine(Set("Software\\Other", {}, {}, Kind::Create))}, "a machine key"},
      {{save, yes}, {Machine(Dword(kExchange, "DumpsterAlwaysOn", 2))}, "wrote to the machine"},
      {{save, yes, Machine(Dword(kExchange, "DumpsterAlwaysOn", 1))},
       {},
       "without administrator rights",
       [](fuzz::Run& r) { r.facts.elevated = false; }},
      {{save, yes, Machine(Dword(kExchange, "DumpsterAlwaysOn", 1))},
       {},
       "DumpsterAlwaysOn written unchanged",
       [](fuzz::Run& r) {
         r.facts.dumpster = RegValue{ValueType::Dword, DwordData(1)};
       }},
      {{}, {}, "detected on a machine without it", [](fuzz::Run& r) { r.facts.installed = {}; }},
      {{},
       {},
       "a Click-to-Run Outlook 16 detected",
       [](fuzz::Run& r) { r.files.Remove(kFolder + "OUTLOOK.EXE"); },
       true},
      {{}, {}, "an exception escaped", [](fuzz::Run& r) { r.escaped = "no control 9999"; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.named);
    EXPECT_THAT(Violations(Session(c.fine, c.click_to_run)), IsEmpty());
    fuzz::Run broken = Session(c.fine, c.click_to_run);
    broken.steps.insert(broken.steps.end(), c.breaking.begin(), c.breaking.end());
    if (c.change != nullptr) {
      c.change(broken);
    }
    EXPECT_THAT(Violations(broken), testing::ElementsAre(testing::HasSubstr(c.named)));
  }
}

}  // namespace
}  // namespace tarnwell::fuzz

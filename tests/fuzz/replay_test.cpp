// The fuzz campaign's saved inputs, replayed: each one is a machine and a session that once
// found a fault or reached code no other input reached. And the checker, shown sessions
// that break each promise.
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <iterator>

#include "fuzz/session.h"
#include "platform/registry_object.h"
#include "settings/backup.h"

namespace tarnwell::fuzz {
namespace {

using testing::IsEmpty;
using Kind = MemoryRegistry::Write::Kind;

TEST(FuzzCorpus, EveryInputKeepsEveryPromise) {
  std::size_t inputs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(TARNWELL_FUZZ_CORPUS)) {
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    EXPECT_THAT(Violations(RunSession(bytes)), IsEmpty()) << entry.path().filename();
    ++inputs;
  }
  EXPECT_GE(inputs, 20u);
}

const std::string kOffice = "Software\\Microsoft\\Office\\14.0\\";
const std::string kPlaces = kOffice + "Common\\Open Find\\Places\\UserDefinedPlaces";
const std::string kFolder = "C:\\Program Files\\Microsoft Office\\root\\Office16\\";

Step Act(std::string control) {
  return {Step::Kind::Action, std::move(control), "Tarnwell"};
}
Step Say(std::string text, std::string kind, Answer answer = Answer::Ok) {
  return {Step::Kind::Message, std::move(text), std::move(kind), answer};
}
Step Set(std::string key, std::string name, RegValue value, Kind kind = Kind::Set) {
  Step step{Step::Kind::Write, {}, {}};
  step.write = {kind, Root::CurrentUser, std::move(key), std::move(name), std::move(value)};
  return step;
}
Step Dword(std::string key, std::string name, std::uint32_t number) {
  return Set(std::move(key), std::move(name), {ValueType::Dword, DwordData(number)});
}
Step Text(std::string key, std::string name, std::string_view text) {
  return Set(std::move(key), std::move(name), {ValueType::String, StringData(text)});
}
Step Start(std::string verb, std::string file) {
  return {verb.empty() ? Step::Kind::Process : Step::Kind::Shell, std::move(file), std::move(verb)};
}
const Step kConfirmed = Say("Save?", "confirmation", Answer::Yes);
const Step kPst = Dword(kOffice + "Outlook", "DisablePST", 1);
const Step kDumpster = [] {
  Step step = Dword("Software\\Microsoft\\Exchange\\Client\\Options", "DumpsterAlwaysOn", 1);
  step.write.root = Root::LocalMachine;
  return step;
}();

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
  const Step exit = Act("btnExit");
  const Step save = Act("btnSave");
  const std::string security = kOffice + "Outlook\\Security";
  const struct {
    std::vector<Step> fine;
    std::vector<Step> breaking;
    void (*machine)(fuzz::Run&);
    std::string named;
    bool click_to_run = false;
  } cases[] = {
      {{exit}, {kPst}, nullptr, "did not ask for"},
      {{save, Say("Save?", "confirmation", Answer::No)}, {kPst}, nullptr, "did not ask for"},
      {{Say(InvalidDataTypeText("Bitness"), "error box"), Act("btnCustomPlaces")},
       {Text(kPlaces + "\\Mail", "Name", "Mail")},
       nullptr,
       "failed start-up"},
      {{}, {Say("Something went wrong", "error box")}, nullptr, "error box of another kind"},
      {{save, kConfirmed}, {Dword(kOffice + "Outlook", "DisablePST", 2)}, nullptr, "0, 1"},
      {{save, kConfirmed}, {Text(kOffice + "Outlook", "DisablePST", "1")}, nullptr, "0, 1"},
      {{save, kConfirmed},
       {Dword("Software\\Microsoft\\Office\\12.0\\Outlook", "DisablePST", 1)},
       nullptr,
       "outside its values"},
      {{save, kConfirmed},
       {Text(kOffice + "Outlook", "ForcePSTPath", "C:\\Gone")},
       nullptr,
       "does not exist"},
      {{save, kConfirmed, kPst}, {kPst}, nullptr, "twice"},
      {{save, kConfirmed, kPst}, {}, [](fuzz::Run& run) { run.files = {}; }, "before a backup"},
      {{save, kConfirmed},
       {Text(security, "Level1Remove", "exe;bat")},
       nullptr,
       "lost a stored piece: [zip]"},
      {{save, kConfirmed},
       {Text(security, "Level1Remove", "zip;exe;x")},
       nullptr,
       "piece of its own: [x]"},
      {{save, kConfirmed}, {Set(kPlaces, {}, {}, Kind::Delete)}, nullptr, "deleted"},
      {{save, kConfirmed}, {exit}, nullptr, "went on after"},
      {{Act("btnRemove"), Say("Remove?", "confirmation", Answer::No)},
       {Set(kPlaces + "\\M", {}, {}, Kind::Delete)},
       nullptr,
       "did not ask for"},
      {{Act("btnAddToList")},
       {Text(kPlaces + "\\Mail", "Path", "C:\\Elsewhere")},
       nullptr,
       "an added place"},
      {{Act("btnAbout")}, {Start("open", "C:\\Windows\\notepad.exe")}, nullptr, "did not ask for"},
      {{Act("btnLaunchOutlook")},
       {Start("", "\"Office14\\OUTLOOK.EXE\" /safe")},
       nullptr,
       "did not ask for"},
      {{Act("btnLaunchOutlook"), Start("", "\"" + kFolder + "OUTLOOK.EXE\" /safe")},
       {Start("open", "\"C:\\Program Files\\Microsoft Office\\Office16\\OUTLOOK.EXE\"")},
       nullptr,
       "did not ask for",
       true},
      {{save, kConfirmed},
       {Dword("Software\\Microsoft\\Office\\16.0\\Outlook\\Security", "EnableDEP", 0)},
       nullptr,
       "EnableDEP",
       true},
      {{exit}, {}, [](fuzz::Run& run) { run.facts.installed = {"15"}; }, "without it", true},
      {{exit},
       {},
       [](fuzz::Run& run) { run.files.Remove(kFolder + "OUTLOOK.EXE"); },
       "Click-to-Run",
       true},
      {{save, kConfirmed, kDumpster},
       {},
       [](fuzz::Run& run) { run.facts.elevated = false; },
       "administrator"},
      {{save, kConfirmed, kDumpster},
       {},
       [](fuzz::Run& run) {
         run.facts.dumpster = RegValue{ValueType::Dword, DwordData(1)};
       },
       "unchanged"},
      {{exit}, {}, [](fuzz::Run& run) { run.escaped = "no control 9999"; }, "exception escaped"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.named);
    EXPECT_THAT(Violations(Session(c.fine, c.click_to_run)), IsEmpty());
    fuzz::Run broken = Session(c.fine, c.click_to_run);
    broken.steps.insert(broken.steps.end(), c.breaking.begin(), c.breaking.end());
    if (c.machine != nullptr) {
      c.machine(broken);
    }
    EXPECT_THAT(Violations(broken), testing::ElementsAre(testing::HasSubstr(c.named)));
  }
}

}  // namespace
}  // namespace tarnwell::fuzz

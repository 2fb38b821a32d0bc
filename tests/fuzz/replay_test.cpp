// The fuzz corpora, inputs that once found a fault or new code, replayed; the checker's promises.
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
using K = Step::Kind;
using Input = std::pair<std::string, std::vector<std::uint8_t>>;

std::vector<Input> Inputs(const char* folder) {
  std::vector<Input> inputs;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    std::ifstream in(entry.path(), std::ios::binary);
    inputs.push_back({entry.path().filename().string(), {std::istreambuf_iterator<char>(in), {}}});
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

// Registry files round-trip; hand-made ones named "valid-" are accepted, "broken-" refused.
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

const std::string kOffice = "Software\\Microsoft\\Office\\14.0\\", kOutlook = kOffice + "Outlook";
const std::string kPlaces = kOffice + "Common\\Open Find\\Places\\UserDefinedPlaces";
const std::string kFolder = "C:\\Program Files\\Microsoft Office\\root\\Office16\\";
const std::string kExchange = "Software\\Microsoft\\Exchange\\Client\\Options";
const auto N = [](std::uint32_t n) { return RegValue{ValueType::Dword, DwordData(n)}; };
const auto T = [](std::string_view t) { return RegValue{ValueType::String, StringData(t)}; };

const auto Act = [](std::string control) { return Step{K::Action, control, "Tarnwell"}; };
Step Set(std::string key, std::string name = {}, RegValue value = {}, Kind kind = Kind::Set,
         Root root = Root::CurrentUser) {
  return {K::Write, {}, {}, Answer::Ok, {kind, root, key, name, std::move(value)}};
}

// Outlook 2010, or 2016 by Click-to-Run; elevated; C:\Mail, a backup, "exe;zip" stored.
fuzz::Run Session(std::vector<Step> steps, bool c2r) {
  const std::string major = c2r ? "16" : "14";
  fuzz::Run run;
  run.steps = std::move(steps);
  run.facts = {major, c2r, c2r ? kFolder : "", {major}, true, false, T("exe;zip"), {}};
  run.files.AddFolder("C:\\Mail").AddFile(kFolder + "OUTLOOK.EXE");
  run.files.MakeFolders(BackupFolder(run.files));
  run.files.WriteWholeFile(BackupFolder(run.files) + "backup.reg",
                           "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n");
  return run;
}

// Each session breaks one promise, named; without its breaking steps or change it passes.
TEST(FuzzChecker, NamesEachBrokenPromise) {
  const Step save = Act("btnSave"), yes{K::Message, "Save?", "confirmation", Answer::Yes};
  const Step pst = Set(kOutlook, "DisablePST", N(1));
  const Step dumpster = Set(kExchange, "DumpsterAlwaysOn", N(1), Kind::Set, Root::LocalMachine);
  const std::string security = kOutlook + "\\Security";
  const struct {
    std::vector<Step> fine, breaking;
    std::string named;
    void (*change)(fuzz::Run&) = [](fuzz::Run&) {};
    bool c2r = false;
  } cases[] = {
      // clang-format off
      {{}, {pst}, "a registry write at start-up"},
      {{Act("btnRemove"), Step{K::Message, "Remove?", "confirmation", Answer::No}},
       {Set(kPlaces + "\\M", {}, {}, Kind::Delete)}, "a registry write the user did not ask for"},
      {{Step{K::Message, InvalidDataTypeText("Bitness"), "error box"}, Act("btnCustomPlaces")},
       {Set(kPlaces + "\\Mail", "Name", T("Mail"))}, "failed start-up"},
      {{save, yes}, {Set(kOutlook, "DisablePST", N(2))}, "other than 0, 1 or one text"},
      {{save, yes}, {Set("Software\\Other", "DisablePST", N(1))}, "outside its values"},
      {{save, yes}, {Set(kOutlook, "ForcePSTPath", T("C:\\Gone"))}, "does not exist"},
      {{save, yes, pst}, {pst}, "a value twice"},
      {{save, yes, pst}, {}, "before a backup", [](fuzz::Run& r) { r.files = {}; }},
      {{save, yes}, {Set(security, "Level1Remove", T("exe;bat"))}, "lost a stored piece: [zip]"},
      {{save, yes}, {Set(kPlaces, {}, {}, Kind::Delete)}, "deleted a key or a value"},
      {{save, yes}, {Act("btnExit")}, "went on after a confirmed save"},
      {{Act("btnAddToList")}, {Set(kPlaces + "\\Mail", "Path", T("C:\\Else"))}, "an added place"},
      {{Act("btnLaunchOutlook"), Step{K::Process, "\"" + kFolder + "OUTLOOK.EXE\" /safe", ""}},
       {Step{K::Shell, "\"C:\\Program Files\\Microsoft Office\\Office16\\OUTLOOK.EXE\"", "open"}},
       "a program started that the user did not ask for", [](fuzz::Run&) {}, true},
      {{save, yes}, {Set(kExchange, "DumpsterAlwaysOn", N(2), Kind::Set, Root::LocalMachine)},
       "a save wrote to the machine"},
      {{save, yes, dumpster}, {}, "without administrator rights",
       [](fuzz::Run& r) { r.facts.elevated = false; }},
      {{}, {}, "detected on a machine without it", [](fuzz::Run& r) { r.facts.installed = {}; }},
      {{}, {}, "a Click-to-Run Outlook 16 detected",
       [](fuzz::Run& r) { r.files.Remove(kFolder + "OUTLOOK.EXE"); }, true},
      {{}, {}, "an exception escaped", [](fuzz::Run& r) { r.escaped = "no control 9999"; }},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.named);
    EXPECT_THAT(Violations(Session(c.fine, c.c2r)), IsEmpty());
    fuzz::Run broken = Session(c.fine, c.c2r);
    broken.steps.insert(broken.steps.end(), c.breaking.begin(), c.breaking.end());
    c.change(broken);
    EXPECT_THAT(Violations(broken), testing::ElementsAre(testing::HasSubstr(c.named)));
  }
}

}  // namespace
}  // namespace tarnwell::fuzz

#include <algorithm>
#include <cctype>

#include "attachments/extension_catalogue.h"
#include "fuzz/session.h"
#include "platform/registry_object.h"
#include "settings/backup.h"
#include "settings/reg_file.h"
#include "settings/settings_catalogue.h"
#include "support/versions.h"
#include "tools/help_file.h"

namespace tarnwell::fuzz {
namespace {

using Write = MemoryRegistry::Write;
// The settings that a save may give only a folder that exists.
constexpr Setting kFolders[] = {Setting::ForcePSTPath, Setting::ForceOSTPath, Setting::DefaultPath,
                                Setting::OutlookSecureTempFolder, Setting::OfficeCacheLocation};

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}
const auto Same = [](std::string_view a, std::string_view b) { return Lower(a) == Lower(b); };
// `path` is `key` or a key above it: creating a key creates its missing parents.
const auto OnTheWayTo = [](std::string_view path, std::string_view key) {
  return Same(path, key) || Lower(key).starts_with(Lower(path) + "\\");
};
// A drive and a backslash, or a UNC path.
const auto FullPath = [](std::string_view path) {
  return (path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
          path.substr(1, 2) == ":\\") ||
         path.starts_with("\\\\");
};
std::set<std::string> Pieces(const std::string& list) {
  std::set<std::string> pieces;
  for (std::size_t start = 0, end = 0; end != std::string::npos; start = end + 1) {
    end = list.find(';', start);
    pieces.insert(list.substr(start, end - start));
  }
  return pieces;
}
auto Read(std::string_view text) {
  return ReadRegFile({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

class Checker {
 public:
  explicit Checker(const Run& run)
      : run_(run), major_(run.facts.major), version_(Version(major_)) {}

  std::vector<std::string> Check() {
    Expect(run_.escaped.empty(), "an exception escaped a handler: " + run_.escaped);
    // A version the machine has; by Click-to-Run, 2013 or later, where its OUTLOOK.EXE is.
    Expect(major_.empty() || run_.facts.installed.count(major_) != 0,
           "Outlook " + major_ + " detected on a machine without it");
    const std::string tail = "\\root\\office" + major_ + "\\", &folder = run_.facts.program_folder;
    Expect(
        !run_.facts.click_to_run || ((major_ == "15" || major_ == "16") && FullPath(folder) &&
                                     Lower(folder).ends_with(tail) && folder.size() > tail.size() &&
                                     folder[folder.size() - tail.size() - 1] != '\\' &&
                                     files_.FileExists(folder + "OUTLOOK.EXE")),
        "a Click-to-Run Outlook " + major_ + " detected in " + folder);
    for (const Step& step : run_.steps) {
      step.kind == Step::Kind::Action    ? Begin(step)
      : step.kind == Step::Kind::Message ? Message(step)
      : step.kind == Step::Kind::Write   ? Written(step.write)
                                         : Started(step);
    }
    return std::move(violations_);
  }

 private:
  void Expect(bool holds, std::string broken) {
    if (!holds) {
      violations_.push_back(broken + (action_.empty() ? "" : " (during " + action_ + ")"));
    }
  }

  // A confirmed save ends the program.
  void Begin(const Step& step) {
    Expect(!saving_ || step.text == "end", "the program went on after a confirmed save");
    action_ = step.text;
    started_ = true;
    confirmed_ = saving_ = backed_up_ = false;
    saved_.clear();
  }

  // Error boxes only of reading, which end the start-up; a save goes on once confirmed.
  void Message(const Step& step) {
    const auto is = [&step](const std::string& pattern) {
      const auto star = pattern.find('*');
      return step.text.starts_with(pattern.substr(0, star)) &&
             step.text.ends_with(pattern.substr(star + 1));
    };
    const bool error = step.detail == "error box";
    Expect(!error || is(InvalidDataTypeText("*")) || is(GetDataFailedText("*")),
           "an error box of another kind: " + step.text);
    start_up_failed_ = start_up_failed_ || (error && !started_);
    confirmed_ = step.answer == Answer::Ok ? confirmed_ : step.answer == Answer::Yes;
    if (step.detail == MessageKindName(MessageKind::Confirmation)) {
      saving_ = action_ == "btnSave" && confirmed_;
    } else if (step.detail == MessageKindName(MessageKind::ConfirmationDefaultNo)) {
      saving_ = saving_ && confirmed_;
      backed_up_ = confirmed_;  // the user chose to go on without one
    }
  }

  void Written(const Write& write) {
    const std::string where = std::string(RootName(write.root)) + "\\" + write.path +
                              (write.kind == Write::Kind::Set ? " " + write.name : "");
    const bool deletes =
        write.kind == Write::Kind::Delete || write.kind == Write::Kind::DeleteValue;
    const bool create = write.kind == Write::Kind::Create, user = write.root == Root::CurrentUser;
    if (major_.empty() || (started_ && start_up_failed_)) {
      return Expect(false, "a registry write with no Outlook or a failed start-up: " + where);
    }
    if (!started_) {  // a key made for the security settings gets their three texts, empty
      const std::string key = SettingKeyPath(SettingKey::OutlookSecurity, version_);
      const std::string_view name = write.name;
      return Expect(
          user && (create ? OnTheWayTo(write.path, key)
                          : write.kind == Write::Kind::Set && Same(write.path, key) &&
                                write.value.type == ValueType::String &&
                                write.value.data == std::vector<std::uint8_t>{0} &&
                                (name == "OutlookSecureTempFolder" ||
                                 name == "OutlookSecureOldTempFolder" || name == "Level1Remove")),
          "a registry write at start-up: " + where);
    }
    if (saving_) {
      Expect(BackedUp(), "a save wrote before a backup: " + where);
      return deletes ? Expect(false, "a save deleted a key or a value: " + where)
             : user  ? Saved(write, where, create)
                     : Dumpster(write, where, create);
    }
    // A place added has a name and an existing folder; a place removed was confirmed.
    const std::string places = "software\\microsoft\\office\\" + major_ +
                               ".0\\common\\open find\\places\\userdefinedplaces";
    const std::string path = Lower(write.path), folder = write.value.TextUpToNul();
    const bool place = path.size() > places.size() + 1 && path.starts_with(places + "\\") &&
                       path.find('\\', places.size() + 1) == std::string::npos;
    if (action_ == "btnAddToList" && user && !deletes) {
      return Expect(create ? OnTheWayTo(write.path, places) || place
                           : place && write.value.type == ValueType::String &&
                                 (write.name == "Name" ||
                                  (write.name == "Path" && files_.FolderExists(folder))),
                    "an added place wrote: " + where + " " + folder);
    }
    Expect(
        action_ == "btnRemove" && confirmed_ && write.kind == Write::Kind::Delete && user && place,
        "a registry write the user did not ask for: " + where);
  }

  // Catalogue values of the detected version, each once: 0 or 1, one text, an existing folder.
  void Saved(const Write& write, const std::string& where, bool create) {
    const auto row = std::find_if(
        kSettingsCatalogue.begin(), kSettingsCatalogue.end(), [&](const SettingRow& row) {
          const std::string key = SettingKeyPath(row.key, version_);
          return row.root == Root::CurrentUser &&
                 (create ? OnTheWayTo(write.path, key)
                         : Same(write.path, key) && write.name == row.name);
        });
    if (row == kSettingsCatalogue.end() || create) {
      return Expect(row != kSettingsCatalogue.end(), "a save wrote outside its values: " + where);
    }
    Expect(saved_.insert(where).second, "a save wrote a value twice: " + where);
    const std::string text = write.value.TextUpToNul();
    Expect(write.value.type == row->type &&
               (row->type == ValueType::Dword
                    ? write.value.data.size() == 4 && write.value.Number() <= 1
                    : text.size() + 1 == write.value.data.size()),
           "a save wrote a value other than 0, 1 or one text: " + where);
    Expect(std::count(std::begin(kFolders), std::end(kFolders), row->setting) == 0 ||
               files_.FolderExists(text),
           "a save wrote a folder that does not exist: " + where + " " + text);
    Expect(row->setting != Setting::EnableDEP || major_ == "14" || major_ == "15",
           "a save wrote EnableDEP for version " + major_);
    if (row->setting == Setting::Level1Remove) {
      AllowList(text);
    }
  }

  // A file in the backup folder that reads as a registry file, once the save has begun.
  bool BackedUp() {
    const std::string folder = BackupFolder(files_);
    const auto names = files_.FileNames(folder);
    return backed_up_ = backed_up_ || std::any_of(names.begin(), names.end(), [&](auto& name) {
                          const auto text = files_.ReadWholeFile(folder + name, 1 << 24);
                          return text && Read(*text).index() == 0;
                        });
  }

  // Listed extensions and the stored pieces, each once, none of those lost; non-text keeps none.
  void AllowList(const std::string& text) {
    std::set<std::string> catalogue;
    for (const auto& row : kAttachmentExtensionCatalogue) {
      catalogue.emplace(row.extension);
    }
    const auto& value = run_.facts.level1remove;
    const auto stored = Pieces(value && value->IsText() ? value->TextUpToNul() : "");
    const auto written = text.empty() ? std::set<std::string>() : Pieces(text);
    Expect(text.empty() ||
               written.size() == std::size_t(std::count(text.begin(), text.end(), ';')) + 1,
           "the allow list was saved with a piece twice");
    for (const std::string& piece : written) {
      Expect(!piece.empty() && (catalogue.count(piece) != 0 || stored.count(piece) != 0),
             "the allow list was saved with a piece of its own: [" + piece + "]");
    }
    for (const std::string& piece : stored) {  // a failed read may have left it unread
      Expect(run_.facts.faults || piece.empty() || catalogue.count(piece) != 0 ||
                 written.count(piece) != 0,
             "the allow list lost a stored piece: [" + piece + "]");
    }
  }

  // Only elevated, only 0 or 1, only when the box differs from the stored number.
  void Dumpster(const Write& write, const std::string& where, bool create) {
    const std::string key = SettingKeyPath(SettingKey::ExchangeClientOptions, version_);
    if (create) {
      return Expect(OnTheWayTo(write.path, key), "a save made a machine key: " + where);
    }
    const auto& stored = run_.facts.dumpster;
    const bool number = stored && stored->type == ValueType::Dword && stored->data.size() <= 4;
    Expect(Same(write.path, key) && write.name == "DumpsterAlwaysOn" &&
               write.value.type == ValueType::Dword && write.value.data.size() == 4 &&
               write.value.Number() <= 1,
           "a save wrote to the machine: " + where);
    Expect(run_.facts.elevated, "DumpsterAlwaysOn written without administrator rights");
    Expect(run_.facts.faults || (number ? stored->Number() : 0) != write.value.Number(),
           "DumpsterAlwaysOn written unchanged");
  }

  // Each program started is the pressed control's, by a full path (Outlook's as detected).
  void Started(const Step& step) {
    const std::string& file = step.text;
    const auto close = file.find('"', 1);
    const std::string program = file.substr(std::min<std::size_t>(1, file.size()), close - 1);
    const bool outlook =
        file.starts_with("\"") && close != std::string::npos &&
        (run_.facts.click_to_run ? program == run_.facts.program_folder + "OUTLOOK.EXE"
                                 : FullPath(program) && Lower(program).ends_with("outlook.exe"));
    const bool open = step.detail == "open", full = FullPath(file);
    const bool fine =
        action_ == "btnLaunchOutlook"      ? (step.kind == Step::Kind::Process || open) && outlook
        : step.kind == Step::Kind::Process ? false
        : action_ == "btnScanPST"          ? open && full && Lower(file).ends_with("\\scanpst.exe")
        : action_ == "btnHelp" ? open && full && file.ends_with("\\" + std::string(kHelpFileName))
        : action_ == "OHUrlLabel1" ? open && file.starts_with("mailto:")
        : action_ == "btnViewFolder"
            ? step.detail == "explore"
            : action_ == "btnSaveUserInfo" && step.detail == "run" && file == "regedit.exe";
    Expect(fine, "a program started that the user did not ask for: [" + step.detail + "] " + file);
  }

  const Run& run_;
  const std::string& major_;
  const OfficeVersion version_;
  MemoryFileSystem files_ = run_.files;  // asked, not changed
  std::vector<std::string> violations_;
  std::string action_;
  bool started_ = false, start_up_failed_ = false;  // the start-up is over; it showed an error
  bool confirmed_ = false, saving_ = false;  // the last answer was Yes; a confirmed save goes on
  bool backed_up_ = false;                   // or the user chose to go on without a backup
  std::set<std::string> saved_;
};

}  // namespace

std::vector<std::string> Violations(const Run& run) {
  return Checker(run).Check();
}

std::vector<std::string> RoundTripFaults(std::span<const std::uint8_t> bytes) {
  const auto read = ReadRegFile(bytes);
  const std::string again =
      read.index() == 0 ? WriteRegFile(std::get<0>(read), "written again") : "";
  std::vector<std::string> faults;
  if (read.index() == 0 && Read(again) != read) {
    faults.push_back("written again, the file reads differently:\n" + again);
  }
  return faults;
}

}  // namespace tarnwell::fuzz

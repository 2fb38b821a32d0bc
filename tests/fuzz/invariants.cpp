#include "fuzz/session.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "attachments/extension_catalogue.h"

namespace tarnwell::fuzz {
namespace {

using Write = MemoryRegistry::Write;

// Every message the program may show; "*" stands for a part it fills in.
constexpr std::string_view kMessages[] = {
    "Are you sure you want to make these changes?",
    "The default .pst path does not exist and will not be saved.",
    "The default folder for .ost files has been changed.  You must set this before creating an "
    "Exchange profile in Outlook.  If the profile is already created, you must change the "
    "default path in the Offline Folder File Settings in the Exchange account setup in Outlook.",
    "The default .ost path does not exist and will not be saved.",
    "The default path for saving attachments specified does not exist and will not be saved.",
    "The default path for opening attachments specified does not exist and will not be saved.",
    "The default path for the Office document cache specified does not exist and will not be "
    "saved.",
    "Tarnwell has not been run as an Administrator on this system. Enabling recovery of deleted "
    "items in Exchange cannot be saved.",
    "You must restart Outlook for these changes to take effect.",
    "Enabling this feature will significantly increase the storage requirements for all emails "
    "received in your .PST file.\r\n\r\nThis is not recommended for users with large .PST files "
    "close to the 2GB size limit.",
    "Enabling this feature will allow you to recover email from a Microsoft Exchange server by "
    "adding a [Recover Deleted Items] option to the Tools menu.\r\n\r\nThis feature is dependent "
    "on the Exchange server and the mail retention settings.",
    "There is no item selected in the blocked list.",
    "There is no item selected in the allowed list.",
    "The attachment default path field is empty. A possible reason is that you have not yet "
    "opened an attachment in Outlook to create this temporary folder.",
    "The attachment default path does not exist.",
    "You must click on a command-line option in the list to continue.",
    "The command-line option you have selected requires an option argument to continue.  Please "
    "enter the correct information in the Addtional Option Argument field.",
    "The file specified : (*) does not exist.  Please try again.",
    "Microsoft Outlook is currently running. Please close the application and try again.",
    "The location of Microsoft Outlook could not be found, so Outlook cannot be started.",
    "The attempt to launch Outlook using 64-bit Windows returned the error code : *",
    "The attempt to launch Outlook in 32-bit Windows returned the error code : *",
    "The location for the Inbox Repair Tool could not be found.",
    "Either the path of the Inbox Repair Tool is empty or the file (ScanPST.exe) does not exist.",
    "This feature has currently been tested with Windows versions below Windows 8 and has been "
    "successful, however is not functioning with Windows 8 and will be cancelled.",
    "This feature will extract your Microsoft Outlook user information into a Windows registry "
    "backup file.  Do you wish to continue?",
    "Microsoft Outlook user information successfully saved!",
    "There was an error saving the Microsoft Outlook user information.",
    "There is no item selected to remove.",
    "Are you sure that you want to remove the custom location : [*]?",
    "You must enter a new location name.",
    "You must enter a new location path.",
    "You must enter a new location path that exists.",
    "The Location Name you entered already exists.  Please change the name and try again.",
    "A location name cannot contain a backslash (\\).  Please change the name and try again.",
    "The help file (tarnwell-help.pdf) cannot be found.  It should be located where the "
    "application is installed.",
    "Tarnwell could not write a backup of the current settings to *. Save without a backup?",
};
constexpr std::string_view kConfirmSave = kMessages[0];
constexpr std::string_view kNoBackup = kMessages[std::size(kMessages) - 1];
constexpr std::string_view kRestartNotice = kMessages[8];
constexpr std::string_view kErrorBoxes[] = {"Invalid data type for '*'",
                                            "Failed to get data for '*'"};

// The values a confirmed save may write, below the detected version's Office key.
struct Saved {
  std::string_view key;
  std::string_view name;
  ValueType type;
  bool folder = false;  // must name an existing folder
};
constexpr Saved kSaveTable[] = {
    {"Outlook", "ForcePSTPath", ValueType::String, true},
    {"Outlook", "ForceOSTPath", ValueType::String, true},
    {"Outlook", "DisableBGSave", ValueType::Dword},
    {"Outlook", "DisablePST", ValueType::Dword},
    {"Outlook\\Options", "DefaultPath", ValueType::String, true},
    {"Outlook\\Options", "DisablePOP3", ValueType::Dword},
    {"Outlook\\Options", "DisableIMAP", ValueType::Dword},
    {"Outlook\\Options", "DisableExchange", ValueType::Dword},
    {"Outlook\\Options", "DisableHTTP", ValueType::Dword},
    {"Outlook\\Options", "DisableOtherTypes", ValueType::Dword},
    {"Outlook\\Security", "OutlookSecureTempFolder", ValueType::String, true},
    {"Outlook\\Security", "OutlookSecureOldTempFolder", ValueType::String},
    {"Common\\Internet", "OfficeCacheLocation", ValueType::String, true},
    {"Outlook\\Preferences", "MinToTray", ValueType::Dword},
    {"Outlook\\Options\\Mail", "ReadAsPlain", ValueType::Dword},
    {"Outlook\\Options\\Mail", "SaveAllMIMENotJustHeaders", ValueType::Dword},
    {"Common\\General", "AcbControl", ValueType::Dword},
    {"Outlook\\Security", "Level1Remove", ValueType::String},
    {"Outlook\\Security", "EnableDEP", ValueType::Dword},
};
constexpr std::string_view kExchangeKey = "Software\\Microsoft\\Exchange\\Client\\Options";

bool Matches(std::string_view pattern, std::string_view text) {
  const auto star = pattern.find('*');
  if (star == std::string_view::npos) {
    return pattern == text;
  }
  const std::string_view head = pattern.substr(0, star);
  const std::string_view tail = pattern.substr(star + 1);
  return text.size() >= head.size() + tail.size() && text.starts_with(head) && text.ends_with(tail);
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  }
  return lower;
}

bool Same(std::string_view a, std::string_view b) {
  return Lower(a) == Lower(b);
}

// `path` is `key` or a key above it: creating a key creates its missing parents.
bool OnTheWayTo(std::string_view path, std::string_view key) {
  const std::string lower = Lower(path);
  const std::string target = Lower(key);
  return target == lower || (target.starts_with(lower) && target[lower.size()] == '\\');
}

// A drive and a backslash, or a UNC path.
bool FullPath(std::string_view path) {
  const bool drive = path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
                     path[1] == ':' && path[2] == '\\';
  return drive || path.starts_with("\\\\");
}

std::vector<std::string> Split(const std::string& text) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find(';', start)) != std::string::npos; start = end + 1) {
    pieces.push_back(text.substr(start, end - start));
  }
  pieces.push_back(text.substr(start));
  return pieces;
}

class Checker {
 public:
  explicit Checker(const Run& run)
      : run_(run),
        office_(run.facts.major.empty()
                    ? std::string()
                    : "Software\\Microsoft\\Office\\" + run.facts.major + ".0\\"),
        places_(office_ + "Common\\Open Find\\Places\\UserDefinedPlaces") {}

  std::vector<std::string> Check() {
    if (!run_.escaped.empty()) {
      Fail("an exception escaped a handler: " + run_.escaped);
    }
    Detected();
    for (const Step& step : run_.steps) {
      switch (step.kind) {
        case Step::Kind::Action:
          Begin(step);
          break;
        case Step::Kind::Message:
          Message(step);
          break;
        case Step::Kind::Write:
          Written(step.write);
          break;
        case Step::Kind::Process:
        case Step::Kind::Shell:
          Started(step);
          break;
      }
    }
    return std::move(violations_);
  }

 private:
  void Fail(std::string what) {
    if (!action_.empty()) {
      what += " (during " + action_ + ")";
    }
    violations_.push_back(std::move(what));
  }

  // A version the machine has; by Click-to-Run, only 2013 and later, and by the Office
  // folder below its full installation path, one backslash between them, that holds
  // OUTLOOK.EXE.
  void Detected() {
    const Facts& facts = run_.facts;
    if (!facts.major.empty() && facts.installed.count(facts.major) == 0) {
      Fail("Outlook " + facts.major + " detected on a machine without it");
    }
    if (!facts.click_to_run) {
      return;
    }
    const std::string tail = "\\root\\office" + facts.major + "\\";
    const std::string& folder = facts.program_folder;
    const bool fine = (facts.major == "15" || facts.major == "16") && FullPath(folder) &&
                      Lower(folder).ends_with(tail) && folder.size() > tail.size() &&
                      folder[folder.size() - tail.size() - 1] != '\\' &&
                      files_.FileExists(folder + "OUTLOOK.EXE");
    if (!fine) {
      Fail("a Click-to-Run Outlook " + facts.major + " detected in " + folder);
    }
  }

  void Begin(const Step& step) {
    if (saved_ && step.text != "end") {
      Fail("the program went on after a confirmed save: " + step.text);
    }
    action_ = step.text;
    started_ = true;
    confirmed_ = false;
    saved_names_.clear();
  }

  void Message(const Step& step) {
    const bool error_box = step.detail == "error box";
    const auto& known = error_box ? std::span<const std::string_view>(kErrorBoxes)
                                  : std::span<const std::string_view>(kMessages);
    if (std::none_of(known.begin(), known.end(),
                     [&](std::string_view pattern) { return Matches(pattern, step.text); })) {
      Fail("a message that is none of the program's: [" + step.detail + "] " + step.text);
    }
    if (error_box && !started_) {
      start_up_failed_ = true;
    }
    if (step.detail == "confirmation") {
      confirmed_ = step.answer == Answer::Yes;
      saving_ = action_ == "btnSave" && step.text == kConfirmSave && confirmed_;
    }
    // No to saving without a backup: the save writes nothing.
    if (Matches(kNoBackup, step.text) && step.answer != Answer::Yes) {
      saving_ = false;
    }
    if (action_ == "btnSave" && step.text == kRestartNotice) {
      saved_ = saving_;  // the restart notice ends a confirmed save
    }
  }

  void Written(const Write& write) {
    const std::string where = std::string(RootName(write.root)) + "\\" + write.path +
                              (write.kind == Write::Kind::Set ? " " + write.name : "");
    if (office_.empty()) {
      return Fail("a registry write with no Outlook detected: " + where);
    }
    if (!started_) {
      return StartUpWrite(write, where);
    }
    if (start_up_failed_) {
      return Fail("a registry write after a failed start-up: " + where);
    }
    if (action_ == "btnSave" && saving_) {
      return SaveWrite(write, where);
    }
    if (action_ == "btnAddToList") {
      return PlaceAdded(write, where);
    }
    if (action_ == "btnRemove" && confirmed_ && write.kind == Write::Kind::Delete &&
        write.root == Root::CurrentUser && IsPlace(write.path)) {
      return;
    }
    Fail("a registry write the user did not ask for: " + where);
  }

  // A key made for the security settings gets their three texts, empty.
  void StartUpWrite(const Write& write, const std::string& where) {
    const std::string security = office_ + "Outlook\\Security";
    const bool fine =
        write.root == Root::CurrentUser &&
        (write.kind == Write::Kind::Create
             ? OnTheWayTo(write.path, security)
             : write.kind == Write::Kind::Set && Same(write.path, security) &&
                   write.value.type == ValueType::String &&
                   write.value.data == std::vector<std::uint8_t>{0} &&
                   (write.name == "OutlookSecureTempFolder" ||
                    write.name == "OutlookSecureOldTempFolder" || write.name == "Level1Remove"));
    if (!fine) {
      Fail("a registry write at start-up: " + where);
    }
  }

  bool IsPlace(const std::string& path) const {
    return path.size() > places_.size() + 1 &&
           Same(path.substr(0, places_.size() + 1), places_ + "\\") &&
           path.find('\\', places_.size() + 1) == std::string::npos;
  }

  void PlaceAdded(const Write& write, const std::string& where) {
    if (write.root != Root::CurrentUser || write.kind == Write::Kind::Delete ||
        write.kind == Write::Kind::DeleteValue) {
      return Fail("an added place wrote: " + where);
    }
    if (write.kind == Write::Kind::Create) {
      if (!OnTheWayTo(write.path, places_) && !IsPlace(write.path)) {
        Fail("an added place made a key outside the places: " + where);
      }
      return;
    }
    if (!IsPlace(write.path) || write.value.type != ValueType::String ||
        (write.name != "Name" && write.name != "Path")) {
      return Fail("an added place wrote a value of its own: " + where);
    }
    if (write.name == "Path" && !files_.FolderExists(write.value.TextUpToNul())) {
      Fail("an added place names no existing folder: " + write.value.TextUpToNul());
    }
  }

  void SaveWrite(const Write& write, const std::string& where) {
    if (write.kind == Write::Kind::Delete || write.kind == Write::Kind::DeleteValue) {
      return Fail("a save deleted a key or a value: " + where);
    }
    if (write.root == Root::LocalMachine) {
      return Dumpster(write, where);
    }
    if (write.kind == Write::Kind::Create) {
      const bool fine = std::any_of(std::begin(kSaveTable), std::end(kSaveTable), [&](auto& row) {
        return OnTheWayTo(write.path, office_ + std::string(row.key));
      });
      if (!fine) {
        Fail("a save made a key of its own: " + where);
      }
      return;
    }
    const auto row = std::find_if(std::begin(kSaveTable), std::end(kSaveTable), [&](auto& row) {
      return Same(write.path, office_ + std::string(row.key)) && write.name == row.name;
    });
    if (row == std::end(kSaveTable)) {
      return Fail("a save wrote a value it does not save: " + where);
    }
    if (!saved_names_.insert(where).second) {
      Fail("a save wrote a value twice: " + where);
    }
    if (write.value.type != row->type) {
      return Fail("a save wrote a value of another type: " + where);
    }
    if (row->type == ValueType::Dword) {
      if (write.value.data.size() != 4 || write.value.Number() > 1) {
        Fail("a save wrote a number other than 0 or 1: " + where);
      }
    } else if (write.value.data.empty() || write.value.data.back() != 0 ||
               write.value.TextUpToNul().size() + 1 != write.value.data.size()) {
      Fail("a save wrote a text that is not one NUL-ended string: " + where);
    }
    if (row->folder && !files_.FolderExists(write.value.TextUpToNul())) {
      Fail("a save wrote a folder that does not exist: " + where + " " + write.value.TextUpToNul());
    }
    if (row->name == "EnableDEP" && run_.facts.major != "14" && run_.facts.major != "15") {
      Fail("a save wrote EnableDEP for version " + run_.facts.major);
    }
    if (row->name == "Level1Remove") {
      AllowList(write.value.TextUpToNul());
    }
  }

  // Catalogue extensions and the stored pieces the program does not list, each once; none of
  // those stored pieces is lost.
  void AllowList(const std::string& text) {
    std::set<std::string> catalogue;
    for (const auto& row : kAttachmentExtensionCatalogue) {
      catalogue.emplace(row.extension);
    }
    // Outlook reads the list as text; a value of another type holds no list to keep.
    const auto& value = run_.facts.level1remove;
    const std::string stored = value && value->IsText() ? value->TextUpToNul() : std::string();
    std::set<std::string> stored_pieces;
    for (std::string& piece : Split(stored)) {
      stored_pieces.insert(std::move(piece));
    }
    std::set<std::string> written;
    if (!text.empty()) {
      for (std::string& piece : Split(text)) {
        if (piece.empty() || (catalogue.count(piece) == 0 && stored_pieces.count(piece) == 0)) {
          Fail("the allow list was saved with a piece of its own: [" + piece + "]");
        }
        if (!written.insert(std::move(piece)).second) {
          Fail("the allow list was saved with a piece twice");
        }
      }
    }
    if (run_.facts.faults) {
      return;  // a failed read may have left the stored list unread
    }
    for (const std::string& piece : stored_pieces) {
      if (!piece.empty() && catalogue.count(piece) == 0 && written.count(piece) == 0) {
        Fail("the allow list lost a stored piece: [" + piece + "]");
      }
    }
  }

  // Only elevated, only 0 or 1, only when the box differs from the stored number.
  void Dumpster(const Write& write, const std::string& where) {
    if (!Same(write.path, kExchangeKey) && !OnTheWayTo(write.path, kExchangeKey)) {
      return Fail("a save wrote to the machine outside Exchange's options: " + where);
    }
    if (write.kind == Write::Kind::Create) {
      return;
    }
    if (write.name != "DumpsterAlwaysOn" || write.value.type != ValueType::Dword ||
        write.value.data.size() != 4 || write.value.Number() > 1) {
      return Fail("a save wrote to Exchange's options: " + where);
    }
    if (!run_.facts.elevated) {
      Fail("DumpsterAlwaysOn written without administrator rights");
    }
    const auto& stored = run_.facts.dumpster;
    const std::uint32_t before =
        stored && stored->type == ValueType::Dword && stored->data.size() <= 4 ? stored->Number()
                                                                               : 0;
    if (before == write.value.Number() && !run_.facts.faults) {
      Fail("DumpsterAlwaysOn written unchanged");
    }
  }

  // Each program started is the one the pressed control stands for, by a full path.
  void Started(const Step& step) {
    const std::string& file = step.text;
    const auto quoted_outlook = [&] {
      const auto close = file.find('"', 1);
      if (!file.starts_with("\"") || close == std::string::npos) {
        return false;
      }
      const std::string program = file.substr(1, close - 1);
      // Click-to-Run's is the detected Office folder's. Otherwise the install folder and
      // the file name, joined as stored: a folder without its trailing backslash makes a
      // name that does not exist, which Windows reports.
      if (run_.facts.click_to_run) {
        return program == run_.facts.program_folder + "OUTLOOK.EXE";
      }
      return FullPath(program) && Lower(program).ends_with("outlook.exe");
    };
    bool fine = false;
    if (step.kind == Step::Kind::Process) {
      fine = action_ == "btnLaunchOutlook" && quoted_outlook();
    } else if (action_ == "btnLaunchOutlook") {
      fine = step.detail == "open" && quoted_outlook();
    } else if (action_ == "btnScanPST") {
      fine = step.detail == "open" && FullPath(file) && Lower(file).ends_with("\\scanpst.exe");
    } else if (action_ == "btnHelp") {
      fine = step.detail == "open" && FullPath(file) && file.ends_with("\\tarnwell-help.pdf");
    } else if (action_ == "OHUrlLabel1") {
      fine = step.detail == "open" && file.starts_with("mailto:");
    } else if (action_ == "btnViewFolder") {
      fine = step.detail == "explore";
    } else if (action_ == "btnSaveUserInfo") {
      fine = step.detail == "run" && file == "regedit.exe";
    }
    if (!fine) {
      Fail("a program started that the user did not ask for: [" + step.detail + "] " + file);
    }
  }

  const Run& run_;
  MemoryFileSystem files_ = run_.files;  // asked, not changed
  const std::string office_;
  const std::string places_;
  std::vector<std::string> violations_;
  std::string action_;
  bool started_ = false;          // the start-up is over
  bool start_up_failed_ = false;  // it showed an error
  bool confirmed_ = false;        // the last question of this action was answered Yes
  bool saving_ = false;           // the save was confirmed
  bool saved_ = false;            // and is over
  std::set<std::string> saved_names_;
};

}  // namespace

std::vector<std::string> Violations(const Run& run) {
  return Checker(run).Check();
}

}  // namespace tarnwell::fuzz

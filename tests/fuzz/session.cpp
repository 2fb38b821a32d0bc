#include "fuzz/session.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <map>
#include <memory>

#include "attachments/extension_catalogue.h"
#include "fakes/fake_processes.h"
#include "fakes/memory_form.h"
#include "platform/registry_object.h"
#include "settings/backup.h"
#include "settings/reg_file.h"
#include "settings/settings_catalogue.h"
#include "support/registry_seed.h"
#include "support/versions.h"
#include "tools/help_file.h"
#include "ui/events.h"
#include "ui/main_layout.h"
#include "ui/places_layout.h"
#include "windows/main_window.h"
#include "windows/places_window.h"

namespace tarnwell::fuzz {
namespace {

// What the bytes pick from, as users and registries hold them; the empty install root has no drive.
// clang-format off
constexpr std::string_view kVersions[] = {"9", "10", "11", "12", "14", "15", "16"};
constexpr std::pair<std::string_view, std::string_view> kClickToRun[] = {
    {"16", "Software\\Microsoft\\Office\\ClickToRun\\Configuration"},
    {"15", "Software\\Microsoft\\Office\\15.0\\ClickToRun\\Configuration"}};
const std::string kInstallRoots[] = {"C:\\Program Files\\Microsoft Office", "\\\\server\\office",
                                     "D:\\" + std::string(300, 'o'), ""};
const std::string kPaths[] = {
    "C:\\Mail\\", "C:\\Mail", "D:\\Archive\\", "C:\\Users\\Ann\\AppData\\Local\\Temp\\OLK1\\",
    "\\\\server\\share\\", "relative\\folder\\", "", "C:\\Missing\\",
    "C:\\Program Files\\Microsoft Office\\Office14\\", "C:\\Mail\\notes.txt", "E:\\",
    "C:\\" + std::string(300, 'p') + "\\", "C:\\Common Files\\SCANPST.EXE", "Office14\\"};
const std::string kNames[] = {"Projects", "projects", "PROJECTS", "Scans", "", " ", "a\\b",
                              std::string(300, 'n'), "Caf\xE9", "x;y"};
constexpr std::string_view kReleaseIds[] = {
    "O365ProPlusRetail", "ProPlus2019Volume", "Outlook2021Retail", "ProPlus2024Volume",
    "VisioPro2024Retail", "ProjectPro2019Volume", "HomeBusinessRetail", "m365", "", " "};
constexpr std::string_view kShared[] = {"C:\\Common Files\\SCANPST.EXE", "SCANPST.EXE",
    "c:\\common files\\scanpst.exe", "\\\\server\\SCANPST.EXE", "C:\\Other\\MAPI32.DLL"};
constexpr std::string_view kProducts[] = {"Windows 7 Professional", "Windows 8 Pro",
    "Windows 8.1 Enterprise", "Windows Server 2012", ""};
constexpr ValueType kTypes[] = {ValueType::String, ValueType::ExpandString, ValueType::Dword,
    ValueType::Binary, ValueType::None, ValueType{7} /* REG_MULTI_SZ */, ValueType{11} /* QWORD */};
constexpr Status kCodes[] = {kFileNotFound, kAccessDenied, kMoreData, kInvalidParameter,
                             kKeyDeleted, kBadPathname};
constexpr ControlKind kUsable[] = {ControlKind::Button, ControlKind::PictureButton,
    ControlKind::CheckBox, ControlKind::Edit, ControlKind::ListBox, ControlKind::ShellTree,
    ControlKind::RadioGroup, ControlKind::Link};
// clang-format on

// The input read as choices; once it runs out every choice is the first, so any input is whole.
struct ByteReader {
  std::span<const std::uint8_t> bytes;
  std::size_t next = 0;

  bool Empty() const { return next == bytes.size(); }
  std::uint8_t Byte() { return Empty() ? 0 : bytes[next++]; }
  bool Bool() { return (Byte() & 1) != 0; }
  std::size_t Below(std::size_t n) {  // 0 to n - 1; n of at most 65,536
    const std::size_t value = n <= 1 ? 0 : Byte();
    return n <= 1 ? 0 : (n > 256 ? value << 8 | Byte() : value) % n;
  }
  const auto& Pick(const auto& choices) { return choices[Below(std::size(choices))]; }
};

const auto Text = [](std::string_view t) { return RegValue{ValueType::String, StringData(t)}; };
const auto Number = [](std::uint32_t n) { return RegValue{ValueType::Dword, DwordData(n)}; };

// Text of a length that breaks buffers, or a few bytes of the input (NULs and bytes over 127).
std::string AnyText(ByteReader& in) {
  constexpr std::size_t kLengths[] = {1, 255, 256, 257, 260, 261, 2000, 2001, 100000};
  const std::size_t kind = in.Below(4);
  std::string text = kind == 0   ? in.Pick(kPaths)
                     : kind == 1 ? in.Pick(kNames)
                     : kind == 2
                         ? std::string(in.Pick(kLengths), static_cast<char>('a' + in.Below(26)))
                         : std::string(in.Below(16), '\0');
  std::generate(text.begin(), kind == 3 ? text.end() : text.begin(),
                [&in] { return static_cast<char>(in.Byte()); });
  return text;
}

RegValue AnyValue(ByteReader& in) {
  constexpr std::uint32_t kNumbers[] = {0, 1, 2, 0xFFFFFFFF};
  RegValue value{in.Pick(kTypes), {}};
  const std::size_t data = in.Below(6);  // none, one byte, a number, text without its NUL, text
  const std::string text = data > 2 ? AnyText(in) : "";
  value.data = data == 0   ? std::vector<std::uint8_t>{}
               : data == 1 ? std::vector<std::uint8_t>{in.Byte()}
               : data == 2 ? DwordData(in.Pick(kNumbers))
               : data == 3 ? std::vector<std::uint8_t>(text.begin(), text.end())
                           : StringData(text);
  return value;
}

// Any value one time in `n`, else the usual one.
RegValue OrAny(ByteReader& in, std::size_t n, auto usual) {
  return in.Below(n) == 0 ? AnyValue(in) : usual();
}

// An installation folder as stored, or with backslashes added, relative, odd-typed, NUL-less.
RegValue AnyInstallationPath(ByteReader& in) {
  return OrAny(in, 4, [&in] {
    constexpr std::string_view kOdd[] = {"Microsoft Office", "C:", "\\\\"};
    const ValueType type = in.Below(4) == 0 ? ValueType::ExpandString : ValueType::String;
    std::string path = in.Below(4) == 0 ? std::string(in.Pick(kOdd)) : in.Pick(kInstallRoots);
    path += std::string(in.Below(3), '\\');
    RegValue value{type, StringData(path)};
    value.data.resize(value.data.size() - (in.Below(8) == 0 ? 1 : 0));
    return value;
  });
}

// Release ids, by the thousand, of the products Click-to-Run names.
std::string AnyReleaseIds(ByteReader& in) {
  std::string text;
  for (std::size_t i = 0, count = in.Below(8) == 0 ? in.Below(2000) : in.Below(4); i < count; ++i) {
    text += (i > 0 ? "," : "") + std::string(in.Pick(kReleaseIds));
  }
  return text;
}

// An allow list of extensions in any spelling, unlisted and empty pieces, thousands of them.
std::string AnyAllowList(ByteReader& in) {
  constexpr std::string_view kOdd[] = {"zip", "ZIP", " exe", ".exe", "", "exe ", "a\\b"};
  std::string text;
  for (std::size_t i = 0, count = in.Below(4) == 0 ? in.Below(4000) : in.Below(8); i < count; ++i) {
    text += i == 0 ? "" : in.Below(8) == 0 ? ";;" : ";";
    const std::string_view extension =
        kAttachmentExtensionCatalogue[in.Below(kAttachmentExtensionCatalogue.size())].extension;
    const std::size_t spelling = in.Below(3), end = text.size();
    text += spelling == 2 ? in.Pick(kOdd) : extension;
    std::transform(text.begin() + end, spelling == 1 ? text.end() : text.begin() + end,
                   text.begin() + end, [](unsigned char c) { return std::toupper(c); });
  }
  return text;
}

// The program on a machine built from the input, the rest of which plays the user.
class Program final : public Dialogs, public Processes, public Shell, public Elevation {
 public:
  Program(ByteReader& machine, ByteReader& session) : m_(machine), in_(session) {}
  Run Play() {
    BuildMachine();
    std::map<std::string, std::optional<RegValue>> allow_lists;  // as stored before the start
    for (std::string_view major : kVersions) {
      allow_lists[std::string(major)] = registry_->Value(
          Root::CurrentUser, SettingKeyPath(SettingKey::OutlookSecurity, Version(major)),
          "Level1Remove");
    }
    Facts facts{{}, false, {}, installed_, elevated_, faulted_, {}, {}};
    facts.dumpster = registry_->Value(
        Root::LocalMachine, "Software\\Microsoft\\Exchange\\Client\\Options", "DumpsterAlwaysOn");
    const Services services{*registry_, *this, *this, files_, *this, *this, clock_};
    AppState state;
    const OutlookVersionInfo& outlook = state.OutlookVersion;
    entry_logic_ = std::make_unique<LocationEntryWindow>(entry_, main_, services, state);
    MainWindow window(main_, entry_, services, state);
    std::string escaped;
    try {
      window.FormCreate();
      if (outlook.Found) {
        facts.major = VersionNumber(outlook.MajorVersion);
        facts.click_to_run = outlook.IsClickToRun();
        facts.program_folder = outlook.ProgramFolder;
        facts.level1remove = allow_lists[facts.major];
      }
      Drive(main_, window, /*modal=*/false);
    } catch (const std::exception& error) {
      escaped = error.what();
    }
    Add({Step::Kind::Action, "end", {}});
    return {std::move(steps_), facts, files_, escaped};
  }

  bool IsAppElevated() override { return elevated_; }
  Answer Message(MessageKind kind, std::string_view text) override {
    const Answer answer = AsksYesOrNo(kind) ? (in_.Bool() ? Answer::Yes : Answer::No) : Answer::Ok;
    Add({Step::Kind::Message, std::string(text), std::string(MessageKindName(kind)), answer});
    return answer;
  }
  void ShowError(std::string_view text) override {
    Add({Step::Kind::Message, std::string(text), "error box"});
  }
  void ShowModal(const WindowLayout& layout, const WindowLogic& logic) override {
    MemoryForm form(layout);
    Drive(form, *logic(form), /*modal=*/true);
  }
  std::optional<std::string> OpenFile(const FileDialogOptions&) override { return Chosen(); }
  std::optional<std::string> SaveFile(const FileDialogOptions&) override { return Chosen(); }
  std::optional<std::vector<Entry>> Running() override {
    return outlook_running_ ? std::vector<Entry>{{4242, "OUTLOOK.EXE"}} : std::vector<Entry>{};
  }
  Started Start(std::string_view command_line, std::uint32_t) override {
    Add({Step::Kind::Process, std::string(command_line), {}});
    return start_fails_ ? Started{false, 2} : Started{true, 0};
  }
  std::intptr_t Execute(std::string_view verb, std::string_view file, std::string_view,
                        std::string_view, int) override {
    Add({Step::Kind::Shell, std::string(file), std::string(verb)});
    return start_fails_ ? 2 : 42;
  }
  // A program waited for writes the file its parameters name first, if told to.
  Ran RunAndWait(std::string_view file, std::string_view parameters, int, unsigned) override {
    Add({Step::Kind::Shell, std::string(file), "run"});
    const auto open = parameters.find('"'), close = parameters.find('"', open + 1);
    if (editor_writes_ && close != std::string_view::npos) {
      files_.Write(parameters.substr(open + 1, close - open - 1));
    }
    return start_fails_ ? Ran::NotStarted : Ran::Ended;
  }

 private:
  void Add(Step step) {
    for (const auto& writes = registry_->Writes(); drained_ < writes.size(); ++drained_) {
      steps_.push_back({Step::Kind::Write, {}, {}, Answer::Ok, writes[drained_]});
    }
    steps_.push_back(std::move(step));
  }
  std::optional<std::string> Chosen() {
    return in_.Below(3) == 0 ? std::nullopt : std::optional(in_.Pick(kPaths) + "profiles.reg");
  }
  // Below HKLM\Software, in the view a 32-bit program has, or in the 64-bit branch.
  std::string Stored(std::string_view path, bool native) const {
    return native ? NativeMachinePath(*registry_, path.substr(9)) : std::string(path);
  }
  void AddFileIf(bool add, const std::string& path) {
    if (add) {
      files_.AddFile(path);
    }
  }
  void Seed(Root root, std::string_view path, std::string_view name, const RegValue& value,
            bool native = false) {
    registry_->Key(root, Stored(path, native)).Data(name, value.type, value.data);
    keys_.emplace_back(root, Stored(path, native));
  }

  // Mostly none; else an Office key in either view or both, or settings only, and places.
  void SeedVersion(std::string_view major) {
    const std::size_t where = m_.Below(8);
    if (where == 0 || where > 4) {
      return;
    }
    if (where < 4) {
      installed_.emplace(major);
    }
    const std::string office = "Software\\Microsoft\\Office\\" + std::string(major) + ".0\\";
    constexpr std::string_view kBitness[] = {"x86", "x64", "X64", ""};
    const RegValue bitness = OrAny(m_, 3, [&] { return Text(m_.Pick(kBitness)); });
    for (bool native : {true, false}) {
      if ((where & (native ? 1 : 2)) != 0 && m_.Bool()) {
        Seed(Root::LocalMachine, office + "Outlook", "Bitness", bitness, native);
      } else if ((where & (native ? 1 : 2)) != 0) {
        registry_->Key(Root::LocalMachine, Stored(office + "Outlook", native));
      }
    }
    for (const SettingRow& row : kSettingsCatalogue) {
      // None, the usual kind (twice as often), or any.
      if (const std::size_t shape = m_.Below(4); shape != 0) {
        const RegValue any = AnyValue(m_);
        const RegValue value = shape == 3                             ? any
                               : row.setting == Setting::Level1Remove ? Text(AnyAllowList(m_))
                               : row.type == ValueType::Dword
                                   ? Number(m_.Below(2))
                                   : RegValue{row.type, StringData(m_.Pick(kPaths))};
        Seed(row.root, SettingKeyPath(row.key, Version(major)), row.name, value,
             row.root == Root::LocalMachine && m_.Bool());
      }
    }
    // Custom places, by the hundred, with odd names.
    const std::string places = office + "Common\\Open Find\\Places\\UserDefinedPlaces";
    constexpr std::size_t kCounts[] = {0, 1, 3, 120};
    for (std::size_t i = 0, count = m_.Pick(kCounts); i < count; ++i) {
      std::string key = m_.Pick(kNames);
      key = key.empty() || key.find('\\') != std::string::npos ? "Place" : key;
      auto place = registry_->Key(Root::CurrentUser, places + "\\" + key + std::to_string(i));
      const RegValue name = OrAny(m_, 2, [&] { return Text(m_.Pick(kNames)); });
      place.Data("Name", name.type, name.data).String("Path", m_.Pick(kPaths));
    }
    keys_.emplace_back(Root::CurrentUser, places);
  }

  void BuildMachine() {
    registry_ = std::make_unique<MemoryRegistry>(m_.Bool() ? MemoryRegistry::Windows::Bits64
                                                           : MemoryRegistry::Windows::Bits32);
    constexpr std::string_view kArchitectures[] = {"AMD64", "x86", "IA64", ""};
    const std::string environment =
        "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
    registry_->Key(Root::LocalMachine, environment)
        .String("PROCESSOR_ARCHITECTURE", m_.Pick(kArchitectures));
    const RegValue product = OrAny(m_, 4, [&] { return Text(m_.Pick(kProducts)); });
    registry_->Key(Root::LocalMachine, "Software\\Microsoft\\Windows NT\\CurrentVersion")
        .Data("ProductName", product.type, product.data);
    for (std::string_view major : kVersions) {
      SeedVersion(major);
    }
    // Click-to-Run's key in either view or both; OUTLOOK.EXE, and the repair tool, in folders.
    constexpr std::string_view kPlatforms[] = {"x64", "x86", "X64", "x64 ", ""};
    for (const auto& [major, configuration] : kClickToRun) {
      const std::size_t where = m_.Below(4);
      for (bool native : {true, false}) {
        if ((where & (native ? 1 : 2)) != 0) {
          installed_.emplace(major);
          const Root hklm = Root::LocalMachine;
          Seed(hklm, configuration, "InstallationPath", AnyInstallationPath(m_), native);
          if (m_.Bool()) {
            Seed(hklm, configuration, "Platform",
                 OrAny(m_, 4, [&] { return Text(m_.Pick(kPlatforms)); }), native);
          }
          if (m_.Bool()) {
            Seed(hklm, configuration, "ProductReleaseIds",
                 OrAny(m_, 4, [&] { return Text(AnyReleaseIds(m_)); }), native);
          }
        }
      }
      const std::size_t present = m_.Below(8);
      for (std::size_t i = 0; i < std::size(kInstallRoots); ++i) {
        const std::string folder = kInstallRoots[i] + "\\root\\Office" + std::string(major) + "\\";
        AddFileIf((present >> i & 1) != 0, folder + "OUTLOOK.EXE");
        AddFileIf((present >> i & 1) != 0 && m_.Bool(), folder + "SCANPST.EXE");
      }
    }
    // The recover-deleted-items number, in the 64-bit branch, as the program reads it.
    if (m_.Bool()) {
      Seed(Root::LocalMachine, "Software\\Microsoft\\Exchange\\Client\\Options", "DumpsterAlwaysOn",
           OrAny(m_, 2, [&] { return Number(m_.Below(3)); }));
    }
    // Add-ins by the hundred; shared files, where the repair tool is looked for.
    constexpr std::size_t kCounts[] = {0, 2, 60, 300};
    for (std::size_t i = 0, count = m_.Pick(kCounts); i < count; ++i) {
      const std::string key = "Software\\Microsoft\\Office\\Outlook\\Addins\\" +
                              (m_.Bool() ? std::string(m_.Pick(kNames)) : "Addin") +
                              std::to_string(i);
      const RegValue behaviour = OrAny(m_, 2, [&] { return Number(m_.Below(20)); });
      const RegValue friendly = AnyValue(m_);
      Seed(Root::CurrentUser, key, "LoadBehavior", behaviour);
      registry_->Key(Root::CurrentUser, key)
          .Data("FriendlyName", friendly.type, friendly.data)
          .String("Description", AnyText(m_));
    }
    for (std::size_t i = 0, count = m_.Pick(kCounts); i < count; ++i) {
      std::string name(m_.Pick(kShared));
      name += m_.Below(4) == 0 ? std::string(300, 'x') : std::string();
      Seed(Root::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs",
           std::to_string(i) + name, Number(1), m_.Bool());
    }
    if (m_.Bool()) {
      const std::string profiles =
          "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\Profiles";
      registry_->Key(Root::CurrentUser, profiles + "\\Outlook").String("001e3001", "Ann");
      keys_.emplace_back(Root::CurrentUser, profiles);
    }
    // Keys that refuse some access, and registry calls that fail.
    constexpr Rights kRights[] = {Rights::Read, Rights::Write, Rights::Full};
    for (std::size_t i = m_.Below(4); i > 0 && !keys_.empty(); --i) {
      faulted_ = true;
      const auto& [root, path] = keys_[m_.Below(keys_.size())];
      registry_->Key(root, path).RefuseAccess(m_.Pick(kRights));
    }
    using Op = MemoryRegistry::Op;
    constexpr Op kOps[] = {Op::Open, Op::Create, Op::Query, Op::Set, Op::Enum, Op::Delete};
    for (std::size_t i = m_.Below(5); i > 1; --i) {
      faulted_ = true;
      const auto op = m_.Pick(kOps);
      const bool any = keys_.empty() || m_.Bool();
      const auto& [root, path] =
          any ? std::pair<Root, std::string>{m_.Bool() ? Root::CurrentUser : Root::LocalMachine,
                                             std::string(MemoryRegistry::kAnyKey)}
              : keys_[m_.Below(keys_.size())];
      registry_->FailOn(op, root, path, m_.Pick(kCodes), {}, static_cast<int>(m_.Below(64)));
    }
    // Folders and files, and how the machine answers the program's requests.
    for (const std::string& path : kPaths) {
      if (m_.Bool()) {
        files_.AddFolder(path);
      }
    }
    files_.AddFile("C:\\Program Files\\Microsoft Office\\Office14\\OUTLOOK.EXE")
        .AddFile("C:\\Common Files\\SCANPST.EXE");
    AddFileIf(m_.Bool(), files_.ProgramFolder() + "tarnwell-help.pdf");
    elevated_ = m_.Bool();
    outlook_running_ = m_.Below(4) == 3;
    start_fails_ = m_.Below(4) == 3;
    editor_writes_ = m_.Bool();
  }

  // One user action on a control that is enabled, or on the window itself.
  void Act(MemoryForm& form, EventSink& sink) {
    std::vector<const ControlLayout*> controls;
    for (const ControlLayout& row : form.Layout().controls) {
      if (std::count(std::begin(kUsable), std::end(kUsable), row.kind) && form.Enabled(row.id)) {
        controls.push_back(&row);
      }
    }
    const std::size_t choice = in_.Below(controls.size() + 1);
    const std::string caption(form.Layout().caption);
    if (choice == controls.size()) {
      Add({Step::Kind::Action, "activate", caption});
      return Dispatch(sink, *this, kNoControl, Event::Activate);
    }
    const ControlLayout& row = *controls[choice];
    Add({Step::Kind::Action, std::string(row.name), caption});
    if (row.kind == ControlKind::CheckBox) {
      form.SetChecked(row.id, !form.Checked(row.id));
    } else if (row.kind == ControlKind::Edit) {
      form.Type(row.id, in_.Bool() ? in_.Pick(kPaths) : AnyText(in_));
    } else if (row.kind == ControlKind::ListBox || row.kind == ControlKind::RadioGroup) {
      const std::size_t count =
          row.kind == ControlKind::ListBox ? form.Items(row.id).size() : row.items.size();
      form.Select(row.id, static_cast<int>(in_.Below(count + 1)) - 1);
    } else if (row.kind == ControlKind::ShellTree) {
      form.SetText(row.id, in_.Bool() ? in_.Pick(kPaths) : std::string());
    }
    Dispatch(sink, *this, row.id,
             row.kind == ControlKind::Edit        ? Event::Change
             : row.kind == ControlKind::ShellTree ? Event::DoubleClick
                                                  : Event::Click);
  }

  // The user acts until the window closes, also on the location entry beside the places window.
  void Drive(MemoryForm& form, EventSink& sink, bool modal) {
    const bool beside_entry = !modal || &form.Layout() == &PlacesWindowLayout();
    for (int actions = 0; actions < 48 && !form.Closed() && !main_.Closed(); ++actions) {
      if (in_.Empty() || in_.Below(24) == 0) {
        break;  // the window's close box
      }
      const bool entry = beside_entry && entry_.Shown() && in_.Bool();
      Act(entry ? entry_ : form, entry ? *entry_logic_ : sink);
      if (entry_.Shown() && !entry_shown_) {
        Dispatch(*entry_logic_, *this, kNoControl, Event::Show);
      }
      entry_shown_ = entry_.Shown();
    }
    if (!form.Closed()) {
      Add({Step::Kind::Action, "close box", std::string(form.Layout().caption)});
      form.Close();
    }
  }

  ByteReader &m_, &in_;
  std::unique_ptr<MemoryRegistry> registry_;
  MemoryFileSystem files_;
  FixedClock clock_;
  bool elevated_ = false, outlook_running_ = false, start_fails_ = false;
  bool editor_writes_ = false, faulted_ = false, entry_shown_ = false;
  std::set<std::string> installed_;
  std::vector<std::pair<Root, std::string>> keys_;  // what the machine was seeded with
  std::vector<Step> steps_;
  std::size_t drained_ = 0;
  MemoryForm main_{MainWindowLayout()}, entry_{LocationEntryLayout()};
  std::unique_ptr<LocationEntryWindow> entry_logic_;
};

// The checker: what must hold after any session, judged by the program's promises.
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
// `path` is `key` or a key above it: creating a key creates its missing parents.
const auto OnTheWayTo = [](std::string_view path, std::string_view key) {
  return SameKeyName(path, key) || Lower(key).starts_with(Lower(path) + "\\");
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

// Judges one session, step by step.
struct Checker {
  explicit Checker(const Run& run) : run_(run) {}
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
    // Each step's judge, by its kind: an action, a message, a write, a process, a shell call.
    constexpr void (Checker::*kJudges[])(const Step&) = {&Checker::Begin, &Checker::Message,
                                                         &Checker::Written, &Checker::Started,
                                                         &Checker::Started};
    for (const Step& step : run_.steps) {
      (this->*kJudges[static_cast<int>(step.kind)])(step);
    }
    return std::move(violations_);
  }

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

  void Written(const Step& step) {
    const Write& write = step.write;
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
                          : write.kind == Write::Kind::Set && SameKeyName(write.path, key) &&
                                write.value.type == ValueType::String &&
                                write.value.data == std::vector<std::uint8_t>{0} &&
                                (name == "OutlookSecureTempFolder" ||
                                 name == "OutlookSecureOldTempFolder" || name == "Level1Remove")),
          "a registry write at start-up: " + where);
    }
    if (saving_) {
      Expect(BackedUp(), "a save wrote before a backup: " + where);
      if (deletes) {
        return Expect(false, "a save deleted a key or a value: " + where);
      }
      return (this->*(user ? &Checker::Saved : &Checker::Dumpster))(write, where, create);
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
                         : SameKeyName(write.path, key) && write.name == row.name);
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
    Expect(SameKeyName(write.path, key) && write.name == "DumpsterAlwaysOn" &&
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
  const std::string& major_ = run_.facts.major;
  const OfficeVersion version_ = Version(major_);
  MemoryFileSystem files_ = run_.files;  // asked, not changed
  std::vector<std::string> violations_;
  std::string action_;
  bool started_ = false, start_up_failed_ = false;  // the start-up is over; it showed an error
  bool confirmed_ = false, saving_ = false;  // the last answer was Yes; a confirmed save goes on
  bool backed_up_ = false;                   // or the user chose to go on without a backup
  std::set<std::string> saved_;
};

}  // namespace

// The first byte gives the machine's length in 16-byte units, so each half mutates alone.
Run RunSession(std::span<const std::uint8_t> bytes) {
  const std::size_t head = bytes.empty() ? 0 : 1,
                    size = head == 0 ? 0 : std::min<std::size_t>(bytes.size() - 1, bytes[0] * 16u);
  ByteReader machine{bytes.subspan(head, size)}, session{bytes.subspan(head + size)};
  return Program(machine, session).Play();
}

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

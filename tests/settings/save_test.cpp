// "&Save and Close" after a real start-up on an in-memory machine: the ordered journal of
// registry writes and messages.
#include <algorithm>
#include <gmock/gmock.h>
#include <string>
#include <vector>

#include "support/main_window_harness.h"
#include "support/versions.h"

namespace tarnwell {
namespace {

using namespace tform1;
using Lines = std::vector<std::string>;
using Edit = void (*)(MainWindowHarness&);

constexpr const char* kConfirm = "Are you sure you want to make these changes?";
constexpr const char* kRestart = "You must restart Outlook for these changes to take effect.";
constexpr const char* kOst =
    "The default folder for .ost files has been changed.  You must set this before creating an "
    "Exchange profile in Outlook.  If the profile is already created, you must change the "
    "default path in the Offline Folder File Settings in the Exchange account setup in Outlook.";
const std::string kPst = "The default .pst path does not exist and will not be saved.";
const std::string kMissing = " specified does not exist and will not be saved.";
const std::string kSaved = "The default path for saving attachments" + kMissing;
const std::string kOpening = "The default path for opening attachments" + kMissing;
const std::string kCache = "The default path for the Office document cache" + kMissing;
const std::string kNotAdministrator =
    "Tarnwell has not been run as an Administrator on this system. Enabling recovery of deleted "
    "items in Exchange cannot be saved.";

// An installation of Outlook `major` whose keys all exist, with folders that exist.
void Install(MainWindowHarness& h, const std::string& major) {
  SeedNativeOutlook(h.registry, major).String("Bitness", "x86");
  const std::string office = OfficeKeyRoot(Version(major));
  h.registry.Key(Root::CurrentUser, office + "Outlook")
      .String("ForcePSTPath", "D:\\Mail\\")
      .Dword("DisableBGSave", 1);
  h.registry.Key(Root::CurrentUser, office + "Outlook\\Options").String("DefaultPath", "D:\\S\\");
  h.registry.Key(Root::CurrentUser, office + "Outlook\\Preferences");
  h.registry.Key(Root::CurrentUser, office + "Outlook\\Options\\Mail").Dword("ReadAsPlain", 1);
  h.registry.Key(Root::CurrentUser, office + "Common\\General");
  h.registry.Key(Root::CurrentUser, office + "Common\\Internet")
      .String("OfficeCacheLocation", "D:\\Cache\\");
  h.registry.Key(Root::CurrentUser, office + "Outlook\\Security")
      .String("OutlookSecureTempFolder", "C:\\Temp\\OLK1\\")
      .String("Level1Remove", "exe;url");
  for (const char* folder : {"D:\\Mail\\", "D:\\S\\", "C:\\Temp\\OLK1\\", "D:\\Offline",
                             "C:\\Temp\\OLK2", "D:\\Cache\\"}) {
    h.files.AddFolder(folder);
  }
  h.files.AddFile("D:\\notes.txt");
}

// "set" lines of a save below Outlook 2010's Office key.
std::string Set(std::string_view below, std::string_view name, std::uint32_t number) {
  return "set HKCU\\" + OfficeKeyRoot(OfficeVersion::V14) + std::string(below) + " " +
         std::string(name) + " REG_DWORD " + std::to_string(number);
}
std::string Set(std::string_view below, std::string_view name, std::string_view text) {
  return "set HKCU\\" + OfficeKeyRoot(OfficeVersion::V14) + std::string(below) + " " +
         std::string(name) + " REG_SZ \"" + std::string(text) + "\"";
}
std::string Warning(const std::string& text) {
  return ScriptedDialogs::Line(MessageKind::Warning, text);
}

struct Row {
  const char* name;
  std::vector<std::pair<MessageKind, std::string>> messages;  // between the two questions
  Lines expected;  // among the journal's lines, in this order
  Lines absent;
  Edit edit;
};

// Edits of the window -> the save's writes and messages, in order.
TEST(Save, EditsGiveTheirWritesAndMessagesInOrder) {
  const std::string security = "Outlook\\Security";
  // clang-format off
  const Row rows[] = {
      {"a key that does not open is passed over with its folder", {},
       {Set("Outlook", "DisablePST", 0), Set("Outlook\\Preferences", "MinToTray", 0)},
       {Set("Outlook\\Options", "DisablePOP3", 1)}, [](auto& h) {
         h.form.Type(edSaveAttPath, "D:\\Nowhere\\");
         h.form.SetChecked(cbPOP3, true);
         h.registry.FailOn(MemoryRegistry::Op::Create, Root::CurrentUser,
                           OfficeKeyRoot(OfficeVersion::V14) + "Outlook\\Options", kAccessDenied); }},
      {"save attachments field cleared: passed over", {}, {}, {Warning(kSaved)},
       [](auto& h) { h.form.Type(edSaveAttPath, ""); }},
      {"loaded folders checked again", {{MessageKind::Warning, kOpening}},
       {Warning(kOpening), Set("Common\\Internet", "OfficeCacheLocation", "D:\\Cache\\")}, {},
       [](auto& h) { h.files.Remove("C:\\Temp\\OLK1\\"); }},
      {"pst field cleared: warned, stored path kept", {{MessageKind::Warning, kPst}},
       {Warning(kPst), Set("Outlook", "DisableBGSave", 1)}, {Set("Outlook", "ForcePSTPath", "")},
       [](auto& h) { h.form.Type(edPSTPath, ""); }},
      {"ost folder typed in", {{MessageKind::Information, kOst}},
       {ScriptedDialogs::Line(MessageKind::Information, kOst),
        Set("Outlook", "ForceOSTPath", "D:\\Offline"), Set("Outlook", "DisableBGSave", 1)}, {},
       [](auto& h) { h.form.Type(edOSTPath, "D:\\Offline"); }},
      {"new attachment folder", {},
       {Set(security, "OutlookSecureTempFolder", "C:\\Temp\\OLK2"),
        Set(security, "OutlookSecureOldTempFolder", "C:\\Temp\\OLK1\\")}, {},
       [](auto& h) { h.form.Type(edAttachmentPath, "C:\\Temp\\OLK2"); }},
      {"paths of files are no folders",
       {{MessageKind::Warning, kPst}, {MessageKind::Warning, kSaved}, {MessageKind::Warning, kCache}},
       {Warning(kPst), Set("Outlook", "DisablePST", 0), Warning(kSaved),
        Set("Outlook\\Options", "DisablePOP3", 0), Warning(kCache),
        Set("Outlook\\Preferences", "MinToTray", 0)}, {}, [](auto& h) {
         h.form.Type(edPSTPath, "D:\\notes.txt");
         h.form.Type(edSaveAttPath, "D:\\notes.txt");
         h.form.SetText(edDocCachePath, "D:\\notes.txt"); }},
      {"missing key created", {},
       {"create HKCU\\" + OfficeKeyRoot(OfficeVersion::V14) + "Outlook\\Preferences",
        Set("Outlook\\Preferences", "MinToTray", 0), Set("Common\\General", "AcbControl", 1),
        Set(security, "EnableDEP", 0)}, {}, [](auto& h) {
         h.registry.DeleteTree(Root::CurrentUser,
                               OfficeKeyRoot(OfficeVersion::V14) + "Outlook\\Preferences"); }},
      {"allow list changed", {}, {Set(security, "Level1Remove", "exe;url;ade")}, {}, [](auto& h) {
         h.form.Select(lbBlocked, 0);
         h.window.OnEvent(btnAddOne, Event::Click); }},
  };
  // clang-format on
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    MainWindowHarness h;
    Install(h, "14");
    h.Create();
    row.edit(h);
    h.dialogs.Expect(MessageKind::Confirmation, kConfirm, Answer::Yes);
    for (const auto& [kind, text] : row.messages) {
      h.dialogs.Expect(kind, text);
    }
    h.dialogs.Expect(MessageKind::Information, kRestart);
    h.window.OnEvent(btnSave, Event::Click);
    EXPECT_TRUE(h.form.Closed());
    const Lines journal = h.journal.Entries();
    auto at = journal.begin();
    for (const std::string& line : row.expected) {
      at = std::find(at, journal.end(), line);
      ASSERT_NE(journal.end(), at) << line << " missing or out of order";
    }
    for (const std::string& line : row.absent) {
      EXPECT_THAT(journal, testing::Not(testing::Contains(line)));
    }
  }
}

// Recover Deleted Items is written machine-wide, last, only by an administrator and only
// when the box moved away from a stored 0 or 1.
TEST(Save, RecoverDeletedItemsNeedsAChangeAndAnAdministrator) {
  const std::string hklm =
      "set HKLM\\Software\\Microsoft\\Exchange\\Client\\Options DumpsterAlwaysOn REG_DWORD ";
  const std::string warning = Warning(kNotAdministrator);
  const struct {
    std::optional<std::uint32_t> stored;
    bool ticked, elevated;
    std::string written;
  } rows[] = {{std::nullopt, true, true, hklm + "1"},
              {std::nullopt, true, false, warning},
              {0u, false, false, ""},
              {1u, true, false, ""},
              {1u, false, true, hklm + "0"},
              {1u, false, false, warning},
              {2u, true, true, ""},
              {2u, false, true, ""}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.stored.value_or(99) * 100 + row.ticked * 10 + row.elevated);
    MainWindowHarness h;
    SeedNativeOutlook(h.registry, "12");
    if (row.stored) {
      h.registry.Key(Root::LocalMachine, "Software\\Microsoft\\Exchange\\Client\\Options")
          .Dword("DumpsterAlwaysOn", *row.stored);
    }
    h.elevation.elevated = row.elevated;
    h.Create();
    h.form.SetChecked(cbDumpster, row.ticked);
    h.dialogs.Expect(MessageKind::Confirmation, kConfirm, Answer::Yes);
    if (row.written == warning) {
      h.dialogs.Expect(MessageKind::Warning, kNotAdministrator);
    }
    h.dialogs.Expect(MessageKind::Information, kRestart);
    h.window.OnEvent(btnSave, Event::Click);
    Lines journal = h.journal.Entries();
    journal.pop_back();  // the restart notice
    EXPECT_EQ(!row.written.empty(), journal.back() == row.written) << journal.back();
    EXPECT_EQ(row.written.empty() ? 0 : 1,
              std::count_if(journal.begin(), journal.end(), [](const std::string& line) {
                return line.find("DumpsterAlwaysOn") != std::string::npos ||
                       line.find("Administrator") != std::string::npos;
              }));
  }
}

// No at the confirmation writes nothing and keeps the window.
TEST(Save, NothingIsWrittenWithoutAConfirmedSaveOfWhatWasRead) {
  MainWindowHarness h;
  Install(h, "14");
  h.Create();
  h.form.SetChecked(cbPOP3, true);
  h.dialogs.Expect(MessageKind::Confirmation, kConfirm, Answer::No);
  h.window.OnEvent(btnSave, Event::Click);
  EXPECT_EQ(1u, h.journal.Entries().size());
  EXPECT_FALSE(h.form.Closed());
}

// Only the user's ticking warns, not the load's and not an unticking.
TEST(Save, TickWarningsComeOnlyFromTheUserAndOnlyForATick) {
  MainWindowHarness h;
  Install(h, "14");
  h.registry.Key(Root::CurrentUser, OfficeKeyRoot(OfficeVersion::V14) + "Outlook\\Options\\Mail")
      .Dword("SaveAllMIMENotJustHeaders", 1);
  h.Create();
  ASSERT_TRUE(h.form.Checked(cbSaveMIME));
  h.form.SetChecked(cbSaveMIME, false);
  h.window.OnEvent(cbSaveMIME, Event::Click);
  EXPECT_THAT(h.journal.Entries(), testing::IsEmpty());
  for (ControlId box : {cbSaveMIME, cbDumpster}) {
    h.form.SetChecked(box, true);
    h.dialogs.Expect(
        MessageKind::Warning,
        box == cbSaveMIME
            ? "Enabling this feature will significantly increase the storage requirements for all "
              "emails received in your .PST file.\r\n\r\nThis is not recommended for users with "
              "large .PST files close to the 2GB size limit."
            : "Enabling this feature will allow you to recover email from a Microsoft Exchange "
              "server by adding a [Recover Deleted Items] option to the Tools menu.\r\n\r\nThis "
              "feature is dependent on the Exchange server and the mail retention settings.");
    h.window.OnEvent(box, Event::Click);
    EXPECT_TRUE(h.form.Checked(box));
  }
}

}  // namespace
}  // namespace tarnwell

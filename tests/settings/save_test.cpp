// "&Save and Close" after a real start-up on an in-memory machine: the ordered journal of
// registry writes and messages.
#include <algorithm>
#include <gmock/gmock.h>
#include <string>
#include <type_traits>
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

struct Row {
  const char* name;
  const char* major;
  Edit edit;
  std::vector<std::pair<MessageKind, std::string>> messages;  // between the two questions
  Lines expected;  // the whole journal, or with `in_order` some of its lines in order
  bool in_order;
};

TEST(Save, EditsGiveTheirWritesAndMessagesInOrder) {
  const auto set = [](const char* major, std::string_view below, std::string_view name,
                      auto value) {
    std::string line =
        "set HKCU\\" + OfficeKeyRoot(Version(major)) + std::string(below) + " " + std::string(name);
    if constexpr (std::is_integral_v<decltype(value)>) {
      return line + " REG_DWORD " + std::to_string(value);
    } else {
      return line + " REG_SZ \"" + std::string(value) + "\"";
    }
  };
  const auto warning = [](const std::string& text) {
    return ScriptedDialogs::Line(MessageKind::Warning, text);
  };
  // An untouched window's writes; `options`: its key opens; `opening`: that folder is gone.
  const auto untouched = [&](const char* major, bool options = true, bool opening = true) {
    Lines all = {ScriptedDialogs::Line(MessageKind::Confirmation, kConfirm, Answer::Yes),
                 set(major, "Outlook", "DisableBGSave", 1), set(major, "Outlook", "DisablePST", 0)};
    for (const char* name :
         {"DisablePOP3", "DisableIMAP", "DisableExchange", "DisableHTTP", "DisableOtherTypes"}) {
      options ? all.push_back(set(major, "Outlook\\Options", name, 0)) : void();
    }
    opening ? void() : all.push_back(warning(kOpening));
    all.push_back(set(major, "Common\\Internet", "OfficeCacheLocation", "D:\\Cache\\"));
    for (const auto& line : {set(major, "Outlook\\Preferences", "MinToTray", 0),
                             set(major, "Outlook\\Options\\Mail", "ReadAsPlain", 1),
                             set(major, "Outlook\\Options\\Mail", "SaveAllMIMENotJustHeaders", 0),
                             set(major, "Common\\General", "AcbControl", 1)}) {
      all.push_back(line);
    }
    if (Version(major) >= OfficeVersion::V14) {
      all.push_back(set(major, "Outlook\\Security", "EnableDEP", 0));
    }
    all.push_back(ScriptedDialogs::Line(MessageKind::Information, kRestart));
    return all;
  };
  const Row rows[] = {
      {"untouched 2010", "14", [](auto&) {}, {}, untouched("14"), false},
      {"untouched 2007", "12", [](auto&) {}, {}, untouched("12"), false},
      {"untouched 2000", "9", [](auto&) {}, {}, untouched("9"), false},
      {"save attachments field cleared: passed over",
       "14",
       [](auto& h) { h.form.Type(edSaveAttPath, ""); },
       {},
       untouched("14"),
       false},
      {"key that does not open: passed over with its folder",
       "14",
       [](auto& h) {
         h.form.Type(edSaveAttPath, "D:\\Nowhere\\");
         h.registry.FailOn(MemoryRegistry::Op::Create, Root::CurrentUser,
                           OfficeKeyRoot(OfficeVersion::V14) + "Outlook\\Options", kAccessDenied);
       },
       {},
       untouched("14", false),
       false},
      {"loaded folders checked again",
       "14",
       [](auto& h) { h.files.Remove("C:\\Temp\\OLK1\\"); },
       {{MessageKind::Warning, kOpening}},
       untouched("14", true, false),
       false},
      {"2000 clipboard shown",
       "9",
       [](auto& h) { h.form.SetChecked(cbShowClipboard, true); },
       {},
       {set("9", "Common\\General", "AcbControl", 0)},
       true},
      {"pst field cleared: warned, stored path kept",
       "14",
       [](auto& h) { h.form.Type(edPSTPath, ""); },
       {{MessageKind::Warning, kPst}},
       {warning(kPst), set("14", "Outlook", "DisableBGSave", 1)},
       true},
      {"ost folder typed in",
       "14",
       [](auto& h) { h.form.Type(edOSTPath, "D:\\Offline"); },
       {{MessageKind::Information, kOst}},
       {ScriptedDialogs::Line(MessageKind::Information, kOst),
        set("14", "Outlook", "ForceOSTPath", "D:\\Offline"),
        set("14", "Outlook", "DisableBGSave", 1)},
       true},
      {"new attachment folder",
       "14",
       [](auto& h) { h.form.Type(edAttachmentPath, "C:\\Temp\\OLK2"); },
       {},
       {set("14", "Outlook\\Security", "OutlookSecureTempFolder", "C:\\Temp\\OLK2"),
        set("14", "Outlook\\Security", "OutlookSecureOldTempFolder", "C:\\Temp\\OLK1\\")},
       true},
      {"paths of files are no folders",
       "14",
       [](auto& h) {
         h.form.Type(edPSTPath, "D:\\notes.txt");
         h.form.Type(edSaveAttPath, "D:\\notes.txt");
         h.form.SetText(edDocCachePath, "D:\\notes.txt");
       },
       {{MessageKind::Warning, kPst},
        {MessageKind::Warning, kSaved},
        {MessageKind::Warning, kCache}},
       {warning(kPst), set("14", "Outlook", "DisablePST", 0), warning(kSaved),
        set("14", "Outlook\\Options", "DisablePOP3", 0), warning(kCache),
        set("14", "Outlook\\Preferences", "MinToTray", 0)},
       true},
      {"missing key created",
       "14",
       [](auto& h) {
         h.registry.DeleteTree(Root::CurrentUser,
                               OfficeKeyRoot(OfficeVersion::V14) + "Outlook\\Preferences");
       },
       {},
       {"create HKCU\\" + OfficeKeyRoot(OfficeVersion::V14) + "Outlook\\Preferences",
        set("14", "Outlook\\Preferences", "MinToTray", 0)},
       true},
      {"allow list changed",
       "14",
       [](auto& h) {
         h.form.Select(lbBlocked, 0);
         h.window.OnEvent(btnAddOne, Event::Click);
       },
       {},
       {set("14", "Outlook\\Security", "Level1Remove", "exe;url;ade")},
       true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    MainWindowHarness h;
    Install(h, row.major);
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
    if (!row.in_order) {
      EXPECT_EQ(row.expected, journal);
      continue;
    }
    auto at = journal.begin();
    for (const std::string& line : row.expected) {
      at = std::find(at, journal.end(), line);
      ASSERT_NE(journal.end(), at) << line << " missing or out of order";
    }
  }
}

// No at the confirmation, or a save after a failed start-up, writes nothing.
TEST(Save, NothingIsWrittenWithoutAConfirmedSaveOfWhatWasRead) {
  MainWindowHarness h;
  Install(h, "14");
  h.Create();
  h.form.SetChecked(cbPOP3, true);
  h.dialogs.Expect(MessageKind::Confirmation, kConfirm, Answer::No);
  h.window.OnEvent(btnSave, Event::Click);
  EXPECT_EQ(1u, h.journal.Entries().size());
  EXPECT_FALSE(h.form.Closed());

  MainWindowHarness failed;
  SeedNativeOutlook(failed.registry, "15").Dword("Bitness", 1);
  failed.dialogs.ExpectError("Invalid data type for 'Bitness'");
  failed.Create();
  failed.window.OnEvent(btnSave, Event::Click);
  EXPECT_THAT(failed.journal.Entries(), testing::IsEmpty());
  EXPECT_FALSE(failed.form.Closed());
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

// "&Save and Close" after a real start-up on an in-memory machine: each scenario compares
// the whole ordered journal of registry writes and messages.
#include <gmock/gmock.h>
#include <string>
#include <vector>

#include "support/main_window_harness.h"
#include "support/versions.h"

namespace tarnwell {
namespace {

using namespace tform1;
using Lines = std::vector<std::string>;

constexpr const char* kConfirm = "Are you sure you want to make these changes?";
constexpr const char* kRestart = "You must restart Outlook for these changes to take effect.";
constexpr const char* kOstNotice =
    "The default folder for .ost files has been changed.  You must set this before creating an "
    "Exchange profile in Outlook.  If the profile is already created, you must change the "
    "default path in the Offline Folder File Settings in the Exchange account setup in Outlook.";
constexpr const char* kNotAdministrator =
    "Tarnwell has not been run as an Administrator on this system. Enabling recovery of deleted "
    "items in Exchange cannot be saved.";

struct Message {
  MessageKind kind;
  std::string text;
};

// Saves, confirming, with these messages expected between the confirmation and the restart
// notice; returns the journal.
Lines SaveConfirmed(MainWindowHarness& harness, const std::vector<Message>& messages = {}) {
  harness.dialogs.Expect(MessageKind::Confirmation, kConfirm, Answer::Yes);
  for (const auto& message : messages) {
    harness.dialogs.Expect(message.kind, message.text);
  }
  harness.dialogs.Expect(MessageKind::Information, kRestart);
  harness.window.OnEvent(btnSave, Event::Click);
  return harness.journal.Entries();
}

class Save : public testing::Test, protected MainWindowHarness {
 protected:
  // An installation of Outlook `major` whose every key exists, with folders that exist.
  void Install(std::string major, bool native_bitness = true) {
    major_ = std::move(major);
    auto outlook = SeedNativeOutlook(registry, major_);
    if (native_bitness) {
      outlook.String("Bitness", "x86");
    }
    registry.Key(Root::CurrentUser, Office("Outlook"))
        .String("ForcePSTPath", "D:\\Mail\\")
        .Dword("DisableBGSave", 1);
    registry.Key(Root::CurrentUser, Office("Outlook\\Options"))
        .String("DefaultPath", "D:\\Saved\\");
    registry.Key(Root::CurrentUser, Office("Outlook\\Preferences"));
    registry.Key(Root::CurrentUser, Office("Outlook\\Options\\Mail")).Dword("ReadAsPlain", 1);
    registry.Key(Root::CurrentUser, Office("Common\\General"));
    registry.Key(Root::CurrentUser, Office("Common\\Internet"));
    registry.Key(Root::CurrentUser, Office("Outlook\\Security"))
        .String("OutlookSecureTempFolder", "C:\\Temp\\OLK1\\")
        .String("Level1Remove", "exe;url");
    for (const char* folder : {"D:\\Mail\\", "D:\\Saved\\", "C:\\Temp\\OLK1\\", "D:\\Offline",
                               "C:\\Temp\\OLK2", "D:\\Cache\\"}) {
      files.AddFolder(folder);
    }
  }

  std::string Office(std::string_view below) const {
    return OfficeKeyRoot(Version(major_)) + std::string(below);
  }
  std::string Set(std::string_view below, std::string_view name, std::uint32_t number) const {
    return "set HKCU\\" + Office(below) + " " + std::string(name) + " REG_DWORD " +
           std::to_string(number);
  }
  std::string Set(std::string_view below, std::string_view name, std::string_view text) const {
    return "set HKCU\\" + Office(below) + " " + std::string(name) + " REG_SZ \"" +
           std::string(text) + "\"";
  }
  static std::string Shown(MessageKind kind, std::string_view text, Answer answer = Answer::Ok) {
    return ScriptedDialogs::Line(kind, text, answer);
  }

  // The writes of an untouched window with the seeded values, from the .pst folder on.
  Lines OutlookKeyTicks() const {
    return {Set("Outlook", "DisableBGSave", 1), Set("Outlook", "DisablePST", 0)};
  }
  Lines OptionsKeyTicks() const {
    Lines lines;
    for (const char* name :
         {"DisablePOP3", "DisableIMAP", "DisableExchange", "DisableHTTP", "DisableOtherTypes"}) {
      lines.push_back(Set("Outlook\\Options", name, 0));
    }
    return lines;
  }
  Lines LaterTicks(std::uint32_t clipboard_hidden = 1) const {
    return {Set("Outlook\\Preferences", "MinToTray", 0),
            Set("Outlook\\Options\\Mail", "ReadAsPlain", 1),
            Set("Outlook\\Options\\Mail", "SaveAllMIMENotJustHeaders", 0),
            Set("Common\\General", "AcbControl", clipboard_hidden)};
  }

  Lines SaveExpecting(const std::vector<Message>& messages = {}) {
    return SaveConfirmed(*this, messages);
  }

  // The first line of every confirmed save, and the last ones of a 2010/2013 save.
  static Lines Confirmed() { return {Shown(MessageKind::Confirmation, kConfirm, Answer::Yes)}; }
  Lines DepAndRestart() const {
    return {Set("Outlook\\Security", "EnableDEP", 0), Shown(MessageKind::Information, kRestart)};
  }

  static Lines Join(std::initializer_list<Lines> parts) {
    Lines all;
    for (const auto& part : parts) {
      all.insert(all.end(), part.begin(), part.end());
    }
    return all;
  }

  std::string major_;
};

TEST_F(Save, UntouchedOutlook2010WritesEveryNumberAndDep) {
  Install("14");
  Create();
  const Lines expected =
      Join({Confirmed(), OutlookKeyTicks(), OptionsKeyTicks(), LaterTicks(), DepAndRestart()});
  EXPECT_EQ(expected, SaveExpecting());
  EXPECT_TRUE(form.Closed());
}

TEST_F(Save, UntouchedOutlook2007HasNoDep) {
  Install("12", false);
  Create();
  const Lines expected = Join({Confirmed(),
                               OutlookKeyTicks(),
                               OptionsKeyTicks(),
                               LaterTicks(),
                               {Shown(MessageKind::Information, kRestart)}});
  EXPECT_EQ(expected, SaveExpecting());
}

// Outlook 2000's disabled boxes are written all the same; its clipboard box is usable and
// unticked, so the clipboard is hidden.
TEST_F(Save, UntouchedOutlook2000WritesItsDisabledBoxesToo) {
  Install("9", false);
  Create();
  ASSERT_FALSE(form.Enabled(cbPOP3));
  ASSERT_TRUE(form.Enabled(cbShowClipboard));
  const Lines expected = Join({Confirmed(),
                               OutlookKeyTicks(),
                               OptionsKeyTicks(),
                               LaterTicks(1),
                               {Shown(MessageKind::Information, kRestart)}});
  EXPECT_EQ(expected, SaveExpecting());

  MainWindowHarness shown;
  SeedNativeOutlook(shown.registry, "9");
  shown.Create();
  shown.form.SetChecked(cbShowClipboard, true);
  EXPECT_THAT(SaveConfirmed(shown),
              testing::Contains("set HKCU\\Software\\Microsoft\\Office\\9.0\\Common\\General "
                                "AcbControl REG_DWORD 0"));
}

TEST_F(Save, NoAtTheConfirmationWritesNothingAndKeepsTheWindow) {
  Install("14");
  Create();
  form.SetChecked(cbPOP3, true);
  dialogs.Expect(MessageKind::Confirmation, kConfirm, Answer::No);
  window.OnEvent(btnSave, Event::Click);
  EXPECT_EQ(Lines{Shown(MessageKind::Confirmation, kConfirm, Answer::No)}, journal.Entries());
  EXPECT_FALSE(form.Closed());
  EXPECT_FALSE(registry.Value(Root::CurrentUser, Office("Outlook\\Options"), "DisablePOP3"));
}

TEST_F(Save, ClearedPstFieldWarnsAndKeepsTheStoredPath) {
  Install("14");
  Create();
  form.Type(edPSTPath, "");
  const Lines journal_lines = SaveExpecting(
      {{MessageKind::Warning, "The default .pst path does not exist and will not be saved."}});
  ASSERT_GE(journal_lines.size(), 3u);
  EXPECT_EQ(
      Shown(MessageKind::Warning, "The default .pst path does not exist and will not be saved."),
      journal_lines[1]);
  EXPECT_EQ(Set("Outlook", "DisableBGSave", 1), journal_lines[2]);
  EXPECT_EQ("D:\\Mail\\",
            registry.Value(Root::CurrentUser, Office("Outlook"), "ForcePSTPath")->TextUpToNul());
}

TEST_F(Save, ClearedSaveAttachmentsFieldIsPassedOverSilently) {
  Install("14");
  Create();
  form.Type(edSaveAttPath, "");
  const Lines expected =
      Join({Confirmed(), OutlookKeyTicks(), OptionsKeyTicks(), LaterTicks(), DepAndRestart()});
  EXPECT_EQ(expected, SaveExpecting());
}

TEST_F(Save, ExistingOstFolderTypedInComesAfterItsNotice) {
  Install("14");
  Create();
  form.Type(edOSTPath, "D:\\Offline");
  const Lines expected = Join(
      {{Shown(MessageKind::Confirmation, kConfirm, Answer::Yes),
        Shown(MessageKind::Information, kOstNotice), Set("Outlook", "ForceOSTPath", "D:\\Offline")},
       OutlookKeyTicks(),
       OptionsKeyTicks(),
       LaterTicks(),
       DepAndRestart()});
  EXPECT_EQ(expected, SaveExpecting({{MessageKind::Information, kOstNotice}}));
}

TEST_F(Save, NewAttachmentFolderIsWrittenWithTheOneBefore) {
  Install("14");
  Create();
  form.Type(edAttachmentPath, "C:\\Temp\\OLK2");
  const Lines expected =
      Join({Confirmed(),
            OutlookKeyTicks(),
            OptionsKeyTicks(),
            {Set("Outlook\\Security", "OutlookSecureTempFolder", "C:\\Temp\\OLK2"),
             Set("Outlook\\Security", "OutlookSecureOldTempFolder", "C:\\Temp\\OLK1\\")},
            LaterTicks(),
            DepAndRestart()});
  EXPECT_EQ(expected, SaveExpecting());
}

// The attachment folder is checked whether changed or not, and the document cache written
// whether changed or not.
TEST_F(Save, LoadedFoldersAreCheckedAgainAtEverySave) {
  Install("14");
  registry.Key(Root::CurrentUser, Office("Common\\Internet"))
      .String("OfficeCacheLocation", "D:\\Cache\\");
  Create();
  files.Remove("C:\\Temp\\OLK1\\");
  const std::string missing =
      "The default path for opening attachments specified does not exist and will not be saved.";
  const Lines expected = Join({Confirmed(),
                               OutlookKeyTicks(),
                               OptionsKeyTicks(),
                               {Shown(MessageKind::Warning, missing),
                                Set("Common\\Internet", "OfficeCacheLocation", "D:\\Cache\\")},
                               LaterTicks(),
                               DepAndRestart()});
  EXPECT_EQ(expected, SaveExpecting({{MessageKind::Warning, missing}}));
}

TEST_F(Save, PathOfAFileIsNoFolder) {
  Install("14");
  files.AddFile("D:\\Mail\\archive.pst");
  files.AddFile("D:\\notes.txt");
  Create();
  form.Type(edPSTPath, "D:\\Mail\\archive.pst");
  form.Type(edSaveAttPath, "D:\\notes.txt");
  form.SetText(edDocCachePath, "D:\\notes.txt");
  const std::string pst = "The default .pst path does not exist and will not be saved.";
  const std::string saved =
      "The default path for saving attachments specified does not exist and will not be saved.";
  const std::string cache =
      "The default path for the Office document cache specified does not exist and will not be "
      "saved.";
  const Lines expected = Join(
      {{Shown(MessageKind::Confirmation, kConfirm, Answer::Yes), Shown(MessageKind::Warning, pst)},
       OutlookKeyTicks(),
       {Shown(MessageKind::Warning, saved)},
       OptionsKeyTicks(),
       {Shown(MessageKind::Warning, cache)},
       LaterTicks(),
       DepAndRestart()});
  EXPECT_EQ(expected, SaveExpecting({{MessageKind::Warning, pst},
                                     {MessageKind::Warning, saved},
                                     {MessageKind::Warning, cache}}));
}

// A key that cannot be opened takes its folder check with it; everything after it is saved.
TEST_F(Save, KeyThatCannotBeOpenedIsSkippedSilently) {
  Install("14");
  Create();
  form.Type(edSaveAttPath, "D:\\Nowhere\\");
  form.SetChecked(cbPOP3, true);
  registry.FailOn(MemoryRegistry::Op::Create, Root::CurrentUser, Office("Outlook\\Options"),
                  kAccessDenied);
  const Lines expected = Join({Confirmed(), OutlookKeyTicks(), LaterTicks(), DepAndRestart()});
  EXPECT_EQ(expected, SaveExpecting());
}

TEST_F(Save, MissingKeysAreCreated) {
  Install("14");
  registry.DeleteTree(Root::CurrentUser, Office("Outlook\\Preferences"));
  Create();
  const Lines lines = SaveExpecting();
  EXPECT_THAT(lines, testing::Contains("create HKCU\\" + Office("Outlook\\Preferences")));
  EXPECT_THAT(lines, testing::Contains(Set("Outlook\\Preferences", "MinToTray", 0)));
}

TEST_F(Save, AllowListIsWrittenWhenItDiffersOrIsEmpty) {
  Install("14");
  registry.Key(Root::CurrentUser, Office("Outlook\\Security")).String("Level1Remove", "exe;bat");
  Create();
  EXPECT_THAT(SaveExpecting(),
              testing::Contains(Set("Outlook\\Security", "Level1Remove", "bat;exe")));

  MainWindowHarness empty;
  SeedNativeOutlook(empty.registry, "12");
  empty.Create();
  EXPECT_THAT(SaveConfirmed(empty),
              testing::Contains("set HKCU\\Software\\Microsoft\\Office\\12.0\\Outlook\\Security "
                                "Level1Remove REG_SZ \"\""));
}

TEST_F(Save, RecoverDeletedItemsNeedsAChangeAndAnAdministrator) {
  struct Case {
    const char* name;
    std::optional<std::uint32_t> stored;
    bool ticked;
    bool elevated;
    Lines tail;
  };
  const std::string hklm =
      "set HKLM\\Software\\Microsoft\\Exchange\\Client\\Options DumpsterAlwaysOn REG_DWORD ";
  const std::string warning = ScriptedDialogs::Line(MessageKind::Warning, kNotAdministrator);
  const std::vector<Case> cases = {
      {"missing, ticked, elevated", std::nullopt, true, true, {hklm + "1"}},
      {"missing, ticked, not elevated", std::nullopt, true, false, {warning}},
      {"0, ticked, elevated", 0u, true, true, {hklm + "1"}},
      {"0, left alone", 0u, false, false, {}},
      {"1, left ticked", 1u, true, false, {}},
      {"1, unticked, elevated", 1u, false, true, {hklm + "0"}},
      {"1, unticked, not elevated", 1u, false, false, {warning}},
      {"2, ticked", 2u, true, true, {}},
      {"2, unticked", 2u, false, true, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MainWindowHarness harness;
    SeedNativeOutlook(harness.registry, "12");
    if (c.stored) {
      harness.registry.Key(Root::LocalMachine, "Software\\Microsoft\\Exchange\\Client\\Options")
          .Dword("DumpsterAlwaysOn", *c.stored);
    }
    harness.elevation.elevated = c.elevated;
    harness.Create();
    harness.form.SetChecked(cbDumpster, c.ticked);
    const bool warned = !c.tail.empty() && c.tail.front() == warning;
    Lines journal_lines = SaveConfirmed(
        harness, warned ? std::vector<Message>{{MessageKind::Warning, kNotAdministrator}}
                        : std::vector<Message>{});
    journal_lines.pop_back();  // the restart notice
    Lines dumpster_lines;
    for (const auto& line : journal_lines) {
      if (line.find("DumpsterAlwaysOn") != std::string::npos || line == warning) {
        dumpster_lines.push_back(line);
      }
    }
    EXPECT_EQ(c.tail, dumpster_lines);
    if (!c.tail.empty()) {
      EXPECT_EQ(c.tail.back(), journal_lines.back()) << "comes last, before the notice";
    }
  }
}

TEST_F(Save, TickWarningsComeOnlyFromTheUserAndOnlyForATick) {
  Install("14");
  registry.Key(Root::CurrentUser, Office("Outlook\\Options\\Mail"))
      .Dword("SaveAllMIMENotJustHeaders", 1);
  Create();  // the load ticks cbSaveMIME: no warning
  ASSERT_TRUE(form.Checked(cbSaveMIME));
  form.SetChecked(cbSaveMIME, false);
  window.OnEvent(cbSaveMIME, Event::Click);
  form.SetChecked(cbSaveMIME, true);
  const std::string mime =
      "Enabling this feature will significantly increase the storage requirements for all "
      "emails received in your .PST file.\r\n\r\nThis is not recommended for users with large "
      ".PST files close to the 2GB size limit.";
  dialogs.Expect(MessageKind::Warning, mime);
  window.OnEvent(cbSaveMIME, Event::Click);
  form.SetChecked(cbDumpster, true);
  const std::string dumpster =
      "Enabling this feature will allow you to recover email from a Microsoft Exchange server by "
      "adding a [Recover Deleted Items] option to the Tools menu.\r\n\r\nThis feature is "
      "dependent on the Exchange server and the mail retention settings.";
  dialogs.Expect(MessageKind::Warning, dumpster);
  window.OnEvent(cbDumpster, Event::Click);
  EXPECT_EQ((Lines{Shown(MessageKind::Warning, mime), Shown(MessageKind::Warning, dumpster)}),
            journal.Entries());
  EXPECT_TRUE(form.Checked(cbSaveMIME));
  EXPECT_TRUE(form.Checked(cbDumpster));
}

// After a failed start-up nothing was read, so nothing may be written back.
TEST_F(Save, NothingIsSavedAfterAFailedStartUp) {
  SeedNativeOutlook(registry, "15").Dword("Bitness", 1);
  registry.Key(Root::CurrentUser, "Software\\Microsoft\\Office\\15.0\\Outlook\\Security")
      .String("Level1Remove", "exe");
  dialogs.ExpectError("Invalid data type for 'Bitness'");
  Create();
  EXPECT_FALSE(form.Enabled(btnSave));
  window.OnEvent(btnSave, Event::Click);
  EXPECT_THAT(journal.Entries(), testing::IsEmpty());
  EXPECT_FALSE(form.Closed());
}

}  // namespace
}  // namespace tarnwell

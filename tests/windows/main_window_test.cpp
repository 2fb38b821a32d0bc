// The main window on an in-memory machine: start-up, the folder fields, the attachment
// lists and the windows its buttons open.
#include <gmock/gmock.h>

#include "support/main_window_harness.h"
#include "ui/about_layout.h"
#include "ui/addins_layout.h"
#include "ui/descriptions_layout.h"
#include "ui/folder_picker_layout.h"
#include "version.h"
#include "windows/attachment_page.h"
#include "windows/places_window.h"

namespace tarnwell {
namespace {

using namespace tform1;
using testing::ElementsAre;
using Value = std::optional<RegValue>;
constexpr const char* kNone = "Microsoft Outlook 2000 to 2024, or Microsoft 365, is not installed";

RegValue Text(std::string_view text) {
  return {ValueType::String, StringData(text)};
}
const RegValue kDword{ValueType::Dword, DwordData(1)};

// Each group of controls is enabled after start-up from the version that heads it on.
TEST(StartUp, EnabledStateFollowsTheDetectedVersion) {
  const std::pair<const char*, std::vector<ControlId>> from[] = {
      {"", {btnHelp, btnAbout, btnExit, lbBlocked, lbCLOptions, mDescription, MainTabControl}},
      {"9", {edArgument, btnLaunchOutlook, btnScanPST, btnSave, miRestoreBackup, cbDumpster}},
      {"10", {cbDisablePST, cbPOP3, cbOther, cbReadAsPlain, cbSaveMIME, edOSTPath, btnBrowse4}},
      {"14", {edDocCachePath, btnBrowse5, cbEnableDEP}},
      {"never", {btnRevert, btnBrowse6}}};
  const std::vector<std::string> versions = {"", "9", "10", "11", "12", "14", "15", "never"};
  for (std::size_t found = 0; found < 7; ++found) {
    MainWindowHarness harness;
    if (found > 0)
      SeedNativeOutlook(harness.registry, versions[found]).String("Bitness", "x86");
    harness.window.FormCreate();
    for (const auto& [first, ids] : from) {
      const bool enabled = std::find(versions.begin(), versions.end(), first) - versions.begin() <=
                           static_cast<long>(found);
      for (ControlId id : ids)
        EXPECT_EQ(enabled, harness.form.Enabled(id)) << id << " " << found;
    }
    EXPECT_EQ(found ? FieldColour::Window : FieldColour::Silver, harness.form.Colour(edPSTPath));
    EXPECT_TRUE(harness.state.LoadComplete);
  }
}

// What start-up shows and which read it chooses; a read error leaves the no-Outlook window.
TEST(StartUp, VersionTextAndReadPath) {
  const struct {
    bool wide_key;
    RegValue bitness;
    const char* text;
    bool native_read;
  } rows[] = {{false, Text("x86"), "Microsoft Outlook 2013 (32-bit)", true},
              {true, Text("x64"), "Microsoft Outlook 2013 (64-bit)", false},
              {false, kDword, kNone, false}};
  for (const auto& row : rows) {
    MainWindowHarness harness;
    (row.wide_key ? Seed64BitOutlook : SeedNativeOutlook)(harness.registry, "15")
        .Data("Bitness", row.bitness.type, row.bitness.data);
    if (row.text == kNone)
      harness.dialogs.ExpectError("Invalid data type for 'Bitness'");
    harness.window.FormCreate();
    EXPECT_EQ(row.text, harness.form.Text(pOutlookVersion));
    EXPECT_EQ(row.native_read, harness.state.Use32BitReadPath);
    EXPECT_EQ(row.text != kNone, harness.form.Enabled(btnSave) && harness.state.SettingsLoaded);
    EXPECT_TRUE(harness.state.Is64BitWindows && harness.state.LoadComplete);
  }
}

// The user double-clicks the nodes of `paths` ("": a node without a path), then cancels.
ScriptedDialogs::Interaction Pick(std::vector<std::string> paths) {
  return [paths](MemoryForm& picker, EventSink& logic) {
    for (const auto& path : paths) {
      picker.SetText(tform4::JamShellTree1, path);
      logic.OnEvent(tform4::JamShellTree1, Event::DoubleClick);
    }
    if (!picker.Closed())
      logic.OnEvent(tform4::btnCancel, Event::Click);
  };
}

// Each Browse fills its own field, ending in one backslash, marks it and enables the save;
// a node without a path keeps the picker open, and a cancel changes nothing.
TEST(Browse, EachButtonFillsItsOwnField) {
  const ControlId fields[] = {edAttachmentPath, edPSTPath, edSaveAttPath, edOSTPath,
                              edDocCachePath};
  const struct {
    ControlId button, field;
    std::vector<std::string> picked;
    const char* result;
  } rows[] = {{btnBrowse1, edAttachmentPath, {"D:\\A"}, "D:\\A\\"},
              {btnBrowse2, edPSTPath, {"", "D:\\"}, "D:\\"},
              {btnBrowse3, edSaveAttPath, {"E:\\B"}, "E:\\B\\"},
              {btnBrowse4, edOSTPath, {""}, nullptr},
              {btnBrowse5, edDocCachePath, {"F:\\C\\"}, "F:\\C\\"}};
  for (const auto& row : rows) {
    MainWindowHarness harness;
    harness.form.SetEnabled(btnSave, false);
    for (ControlId field : fields)
      harness.form.SetText(field, "unchanged");
    harness.dialogs.ExpectWindow("Browse", Pick(row.picked));
    harness.window.OnEvent(row.button, Event::Click);
    EXPECT_TRUE(harness.dialogs.LastWindow()->Closed());
    for (ControlId field : fields) {
      const bool filled = field == row.field && row.result;
      EXPECT_EQ(filled ? row.result : "unchanged", harness.form.Text(field)) << row.field;
      EXPECT_EQ(filled, harness.form.Modified(field)) << row.field;
    }
    EXPECT_EQ(row.result != nullptr, harness.form.Enabled(btnSave));
  }
  MainWindowHarness harness;  // the entry window's Browse enables the main window's save
  LocationEntryWindow entry(harness.entry, harness.form, harness.Svc(), harness.state);
  harness.dialogs.ExpectWindow("Browse", Pick({"E:\\Projects"}));
  entry.OnEvent(form6::btnBrowse, Event::Click);
  EXPECT_EQ("E:\\Projects\\", harness.entry.Text(form6::edLocPath));
  EXPECT_TRUE(harness.form.Enabled(btnSave));
}

// Revert reads the previous folder anew: the native view puts it back, or empty text once
// it is gone, and reports a wrong type; the 64-bit view keeps the field when it is missing
// or too long. The button is disabled unless the read failed.
TEST(Revert, PutsThePreviousFolderBackByTheView) {
  const std::string kOld = "OutlookSecureOldTempFolder", was = "C:\\Was\\", now = "C:\\Now\\";
  const struct {
    const char* bitness;
    Value old;
    std::string field, loaded;
  } rows[] = {{"x86", Text("C:\\Old\\"), "C:\\Old\\", "C:\\Old\\"},
              {"x86", std::nullopt, "", ""},
              {"x86", kDword, now, was},
              {"x64", Text("C:\\" + std::string(300, 'x')), now, was},
              {"x64", Text("C:\\Old\\"), "C:\\Old\\", "C:\\Old\\"},
              {"x64", std::nullopt, now, was}};
  for (const auto& row : rows) {
    MainWindowHarness harness;
    SeedNativeOutlook(harness.registry, "14").String("Bitness", row.bitness);
    auto key = harness.registry.Key(Root::CurrentUser,
                                    "Software\\Microsoft\\Office\\14.0\\"
                                    "Outlook\\Security");
    key.String("OutlookSecureTempFolder", now).String(kOld, was);
    harness.Create();
    ASSERT_TRUE(harness.form.Enabled(btnRevert));
    key.Remove(kOld);
    if (row.old)
      key.Data(kOld, row.old->type, row.old->data);
    if ((row.old && row.old->type == ValueType::Dword))
      harness.dialogs.ExpectError("Invalid data type for '" + kOld + "'");
    harness.Press(btnRevert);
    EXPECT_EQ(row.field, harness.form.Text(edAttachmentPath)) << row.bitness << row.field;
    EXPECT_EQ((row.old && row.old->type == ValueType::Dword), harness.form.Enabled(btnRevert));
    EXPECT_EQ(row.loaded, harness.state.Loaded.OutlookSecureOldTempFolder);
  }
}

// View Folder opens what the field names now, or says why not; Help opens the file beside
// the program only.
TEST(MainWindow, ViewFolderAndHelp) {
  MainWindowHarness harness;
  harness.files.AddFolder("D:\\Typed").AddFile("D:\\Typed\\file.txt");
  harness.dialogs.Expect(MessageKind::Warning, "The attachment default path field is empty")
      .Expect(MessageKind::Warning, "The attachment default path does not exist.");
  for (const char* path : {"", "D:\\Typed\\file.txt", "D:\\Typed\\"}) {
    harness.form.Type(edAttachmentPath, path);
    harness.window.OnEvent(btnViewFolder, Event::Click);
  }
  EXPECT_EQ("shell explore [D:\\Typed\\] parameters [] folder [] show 1",
            harness.journal.Entries().back());
  harness.files.SetProgramFolder("C:\\Tarnwell\\");
  harness.files.AddFile("tarnwell-help.pdf");
  harness.dialogs.Expect(MessageKind::Warning, "The help file (tarnwell-help.pdf) cannot be");
  harness.Press(btnHelp);
  harness.files.AddFile("C:\\Tarnwell\\tarnwell-help.pdf");
  harness.shell.result = 31;  // no PDF reader: nothing more is said
  EXPECT_THAT(harness.Press(btnHelp),
              ElementsAre("shell open [C:\\Tarnwell\\tarnwell-help.pdf] parameters [] folder [] "
                          "show 1"));
}

// Each button makes a fresh window, which its own button closes.
TEST(MainWindow, SecondaryWindowsOpenFreshAndClose) {
  const std::tuple<ControlId, const char*, ControlId> rows[] = {
      {btnAbout, "About Tarnwell", tform2::btnClose},
      {btnSecHelp, "Attachment Descriptions", form3::Button1},
      {btnAddins, "Outlook Add-Ins", form7::btnClose},
      {btnCustomPlaces, "Custom Save Locations", form5::btnClose}};
  MainWindowHarness harness;
  for (const auto& [button, caption, close] : rows) {
    for (bool closes : {true, false}) {
      const ControlId id = closes ? close : kNoControl;
      harness.dialogs.ExpectWindow(caption, [id](MemoryForm& form, EventSink& logic) {
        EXPECT_FALSE(form.Closed());
        logic.OnEvent(id, Event::Click);
      });
      harness.Press(button);
      EXPECT_EQ(closes, harness.dialogs.LastWindow()->Closed()) << caption;
    }
  }
}

// The About window: the built version, and the mail link, whose failure is not reported.
TEST(MainWindow, AboutShowsTheVersionAndItsLinkWritesMail) {
  MainWindowHarness harness;
  harness.shell.result = 2;
  harness.dialogs.ExpectWindow("About Tarnwell", [&](MemoryForm& about, EventSink& logic) {
    EXPECT_EQ(std::string("Version ") + TARNWELL_VERSION_TEXT, about.Text(tform2::lblVersion));
    EXPECT_EQ(std::string::npos, about.Text(tform2::lblTrademark).find("\xC2\xAE"));
    Dispatch(logic, harness.dialogs, tform2::OHUrlLabel1, Event::Click);
  });
  EXPECT_THAT(harness.Press(btnAbout),
              ElementsAre("window: About Tarnwell",
                          "shell open [mailto:tarnwell@example.org?subject=Tarnwell "
                          "Question/Problem] parameters [] folder [] show 5"));
}

// One item moves to the end of the other list and its successor is selected; none left
// selected says so; all move in order and the first of the target is selected.
TEST(AttachmentLists, MovesBetweenTheLists) {
  MemoryForm form{MainWindowLayout()};
  ScriptedDialogs dialogs;
  FillAttachmentLists(form, "");
  form.Select(lbBlocked, 14);  // exe
  MoveSelectedItem(form, dialogs, lbBlocked, lbAllowed, "none");
  EXPECT_THAT(form.Items(lbAllowed), ElementsAre("exe"));
  EXPECT_EQ(14, form.Selected(lbBlocked));
  EXPECT_EQ("fxp", form.Items(lbBlocked)[14]);
  form.Select(lbBlocked, 74);
  MoveSelectedItem(form, dialogs, lbBlocked, lbAllowed, "none");
  EXPECT_EQ(-1, form.Selected(lbBlocked));
  dialogs.Expect(MessageKind::Information, "none");
  MoveSelectedItem(form, dialogs, lbBlocked, lbAllowed, "none");
  form.Select(lbAllowed, 0);
  MoveSelectedItem(form, dialogs, lbAllowed, lbBlocked, "none");
  EXPECT_EQ("exe", form.Items(lbBlocked).back());
  MoveAllItems(form, lbBlocked, lbAllowed);
  EXPECT_TRUE(form.Items(lbBlocked).empty());
  EXPECT_EQ(76u, form.Items(lbAllowed).size());
  EXPECT_EQ("ade", form.Items(lbAllowed)[1]);
  form.Select(lbAllowed, 5);
  MoveAllItems(form, lbBlocked, lbAllowed);  // nothing to move: still selects the first
  EXPECT_EQ(0, form.Selected(lbAllowed));
}

}  // namespace
}  // namespace tarnwell

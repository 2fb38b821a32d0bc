// The main window on an in-memory machine: start-up, the folder fields, the attachment
// lists and the windows its buttons open.
#include <gmock/gmock.h>
#include <set>

#include "support/main_window_harness.h"
#include "ui/about_layout.h"
#include "ui/addins_layout.h"
#include "ui/descriptions_layout.h"
#include "ui/folder_picker_layout.h"
#include "windows/attachment_page.h"
#include "windows/places_window.h"

namespace tarnwell {
namespace {

using namespace tform1;
using testing::ElementsAre;
const RegValue kNumber{ValueType::Dword, DwordData(1)};
RegValue Text(std::string_view text) {
  return {ValueType::String, StringData(text)};
}

// Each group of controls is enabled after start-up from the version that heads it on; a
// read error leaves the no-Outlook window. What start-up shows, and which read it chooses.
TEST(StartUp, EnabledStateVersionTextAndRead) {
  const std::vector<std::string> versions = {"", "9", "10", "11", "12", "14", "15", "never"};
  const std::pair<const char*, std::vector<ControlId>> from[] = {
      {"", {btnHelp, btnAbout, btnExit, lbBlocked, lbCLOptions, mDescription, MainTabControl}},
      {"9", {edArgument, btnLaunchOutlook, btnScanPST, btnSave, miRestoreBackup, cbDumpster}},
      {"10", {cbDisablePST, cbPOP3, cbOther, cbReadAsPlain, cbSaveMIME, edOSTPath, btnBrowse4}},
      {"14", {edDocCachePath, btnBrowse5, cbEnableDEP}},
      {"never", {btnRevert, btnBrowse6}}};
  const RegValue x86 = Text("x86"), x64 = Text("x64");
  const std::tuple<const char*, RegValue, std::size_t, const char*> rows[] = {
      {nullptr, x86, 0, "Microsoft Outlook 2000 to 2024, or Microsoft 365, is not installed"},
      {"9", x86, 1, nullptr},
      {"10", x86, 2, nullptr},
      {"11", x86, 3, nullptr},
      {"12", x86, 4, nullptr},
      {"14", x86, 5, nullptr},
      {"15", x86, 6, "Microsoft Outlook 2013 (32-bit)"},
      {"15", x64, 6, "Microsoft Outlook 2013 (64-bit)"},
      {"15", kNumber, 0, "Microsoft Outlook 2000 to 2024"}};  // a read error
  for (const auto& [major, bitness, found, text] : rows) {
    MainWindowHarness harness;
    const bool wide = bitness.data == x64.data;
    if (major) {
      (wide ? Seed64BitOutlook : SeedNativeOutlook)(harness.registry, major)
          .Data("Bitness", bitness.type, bitness.data);
    }
    if (bitness.type == ValueType::Dword) {
      harness.dialogs.ExpectError("Invalid data type for 'Bitness'");
    }
    harness.window.FormCreate();
    for (const auto& [first, ids] : from) {
      const auto index = std::find(versions.begin(), versions.end(), first) - versions.begin();
      for (ControlId id : ids) {
        EXPECT_EQ(index <= static_cast<long>(found), harness.form.Enabled(id))
            << id << " " << found;
      }
    }
    if (text) {
      EXPECT_THAT(harness.form.Text(pOutlookVersion), testing::StartsWith(text));
    }
    EXPECT_EQ(found > 0 && !wide, harness.state.Use32BitReadPath);
    EXPECT_EQ(found > 0, harness.state.SettingsLoaded);
    const std::set<ControlId> fields = {edAttachmentPath, edPSTPath,  edOSTPath,
                                        edSaveAttPath,    edArgument, edDocCachePath};
    for (const auto& control : MainWindowLayout().controls) {
      EXPECT_EQ(
          fields.count(control.id) && (found == 0 || (control.id == edDocCachePath && found < 5)),
          harness.form.Colour(control.id) == FieldColour::Silver)
          << control.name << " " << found;
    }
    EXPECT_TRUE(harness.state.Is64BitWindows && harness.state.LoadComplete);
  }
}

// Each Browse fills its own field, ending in one backslash, marks it and enables the save;
// a node without a path keeps the picker open, and a cancel changes nothing.
TEST(Browse, EachButtonFillsItsOwnField) {
  const ControlId fields[] = {edAttachmentPath, edPSTPath, edSaveAttPath, edOSTPath,
                              edDocCachePath};
  const std::tuple<ControlId, std::vector<std::string>, const char*> rows[] = {
      {btnBrowse1, {"D:\\A"}, "D:\\A\\"},
      {btnBrowse2, {"", "D:\\"}, "D:\\"},
      {btnBrowse3, {"E:\\B"}, "E:\\B\\"},
      {btnBrowse4, {""}, nullptr},
      {btnBrowse5, {"F:\\C\\"}, "F:\\C\\"}};
  for (std::size_t row = 0; row < std::size(rows); ++row) {
    const auto& [button, picked, result] = rows[row];
    MainWindowHarness harness;
    harness.form.SetEnabled(btnSave, false);
    harness.dialogs.ExpectWindow("Browse", [&picked](MemoryForm& picker, EventSink& logic) {
      for (const auto& path : picked) {
        picker.SetText(tform4::JamShellTree1, path);
        logic.OnEvent(tform4::JamShellTree1, Event::DoubleClick);
      }
      logic.OnEvent(tform4::btnCancel, Event::Click);
    });
    harness.window.OnEvent(button, Event::Click);
    EXPECT_TRUE(harness.dialogs.LastWindow()->Closed());
    for (ControlId field : fields) {
      const bool filled = field == fields[row] && result;
      EXPECT_EQ(filled ? result : "", harness.form.Text(field)) << row;
      EXPECT_EQ(filled, harness.form.Modified(field)) << row;
    }
    EXPECT_EQ(result != nullptr, harness.form.Enabled(btnSave));
  }
}

// Revert reads the previous folder anew: the native view puts it back, or empty text once
// it is gone, and reports a wrong type; the 64-bit view keeps the field when it is missing
// or too long. The button is disabled unless the read failed.
TEST(Revert, PutsThePreviousFolderBackByTheView) {
  const std::string kOld = "OutlookSecureOldTempFolder", was = "C:\\Was\\", now = "C:\\Now\\";
  const std::tuple<const char*, std::optional<RegValue>, std::string, std::string> rows[] = {
      {"x86", Text("C:\\Old\\"), "C:\\Old\\", "C:\\Old\\"},
      {"x86", std::nullopt, "", ""},
      {"x86", kNumber, now, was},
      {"x64", Text("C:\\" + std::string(300, 'x')), now, was},
      {"x64", Text("C:\\Old\\"), "C:\\Old\\", "C:\\Old\\"},
      {"x64", std::nullopt, now, was}};
  for (const auto& [bitness, old, field, loaded] : rows) {
    MainWindowHarness harness;
    SeedNativeOutlook(harness.registry, "14").String("Bitness", bitness);
    auto key = harness.registry.Key(Root::CurrentUser,
                                    "Software\\Microsoft\\Office\\14.0\\Outlook\\Security");
    key.String("OutlookSecureTempFolder", now).String(kOld, was);
    harness.Create();
    ASSERT_TRUE(harness.form.Enabled(btnRevert));
    key.Remove(kOld);
    const bool fails = old && old->type == ValueType::Dword;
    if (old) {
      key.Data(kOld, old->type, old->data);
    }
    if (fails) {
      harness.dialogs.ExpectError("Invalid data type for '" + kOld + "'");
    }
    harness.Press(btnRevert);
    EXPECT_EQ(field, harness.form.Text(edAttachmentPath)) << bitness << field;
    EXPECT_EQ(fails, harness.form.Enabled(btnRevert));
    EXPECT_EQ(loaded, harness.state.Loaded.OutlookSecureOldTempFolder);
  }
}

// View Folder opens what the field names now, or says why not; Help opens the file beside
// the program only; each secondary window is made fresh and closed by its own button.
TEST(MainWindow, ButtonsOfTheWindow) {
  MainWindowHarness harness;
  harness.files.AddFolder("D:\\Typed").AddFile("D:\\Typed\\file.txt").AddFile("tarnwell-help.pdf");
  harness.files.SetProgramFolder("C:\\Tarnwell\\");
  harness.dialogs.Expect(MessageKind::Warning, "The attachment default path field is empty")
      .Expect(MessageKind::Warning, "The attachment default path does not exist.")
      .Expect(MessageKind::Warning, "The help file (tarnwell-help.pdf) cannot be");
  for (const char* path : {"", "D:\\Typed\\file.txt", "D:\\Typed\\"}) {
    harness.form.Type(edAttachmentPath, path);
    harness.window.OnEvent(btnViewFolder, Event::Click);
  }
  harness.Press(btnHelp);
  harness.files.AddFile("C:\\Tarnwell\\tarnwell-help.pdf");
  harness.shell.result = 31;  // no PDF reader: nothing more is said
  EXPECT_THAT(harness.Press(btnHelp),
              ElementsAre("shell open [C:\\Tarnwell\\tarnwell-help.pdf] parameters [] folder [] "
                          "show 1"));
  const std::tuple<ControlId, const char*, ControlId> rows[] = {
      {btnAbout, "About Tarnwell", tform2::btnClose},
      {btnSecHelp, "Attachment Descriptions", form3::Button1},
      {btnAddins, "Outlook Add-Ins", form7::btnClose},
      {btnCustomPlaces, "Custom Save Locations", form5::btnClose}};
  for (const auto& [button, caption, close] : rows) {
    for (const ControlId id : {close, kNoControl}) {
      harness.dialogs.ExpectWindow(caption, [id](MemoryForm& form, EventSink& logic) {
        EXPECT_FALSE(form.Closed());
        logic.OnEvent(id, Event::Click);
      });
      harness.Press(button);
      EXPECT_EQ(id != kNoControl, harness.dialogs.LastWindow()->Closed()) << caption;
    }
  }
}

// One item moves to the end of the other list and its successor is selected; none left
// selected says so; all move in order and the first of the target is selected.
TEST(AttachmentLists, MovesBetweenTheLists) {
  MemoryForm form{MainWindowLayout()};
  ScriptedDialogs dialogs;
  dialogs.Expect(MessageKind::Information, "none");
  FillAttachmentLists(form, "");
  for (int index : {14, 74, -1}) {  // exe, the last, none
    form.Select(lbBlocked, index);
    MoveSelectedItem(form, dialogs, lbBlocked, lbAllowed, "none");
    EXPECT_EQ(index == 14 ? 14 : -1, form.Selected(lbBlocked));
  }
  EXPECT_EQ("fxp", form.Items(lbBlocked)[14]);
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

// The main window on an in-memory machine: start-up, the folder fields and its buttons.
#include <gmock/gmock.h>
#include <set>

#include "support/main_window_harness.h"
#include "ui/about_layout.h"
#include "ui/addins_layout.h"
#include "ui/descriptions_layout.h"
#include "ui/folder_picker_layout.h"

namespace tarnwell {
namespace {

using namespace tform1;

// Start-up shows the version, picks the read; no Outlook or a read error leaves tools disabled.
TEST(StartUp, VersionTextReadAndNoOutlookState) {
  const std::tuple<const char*, const char*, const char*> rows[] = {
      {nullptr, "", "Microsoft Outlook 2000 to 2024, or Microsoft 365, is not installed"},
      {"15", "x86", "Microsoft Outlook 2013 (32-bit)"},
      {"15", "x64", "Microsoft Outlook 2013 (64-bit)"},
      {"15", nullptr, "Microsoft Outlook 2000 to 2024"}};  // a read error
  const std::set<ControlId> fields = {edAttachmentPath, edPSTPath,  edOSTPath,
                                      edSaveAttPath,    edArgument, edDocCachePath};
  for (const auto& [major, bitness, text] : rows) {
    MainWindowHarness h;
    const bool wide = bitness && std::string_view(bitness) == "x64", found = major && bitness;
    if (major) {
      (wide ? Seed64BitOutlook : SeedNativeOutlook)(h.registry, major)
          .Data("Bitness", found ? ValueType::String : ValueType::Dword,
                found ? StringData(bitness) : DwordData(1));
    }
    if (major && !found)
      h.dialogs.ExpectError("Invalid data type for 'Bitness'");
    h.window.FormCreate();
    EXPECT_THAT(h.form.Text(pOutlookVersion), testing::StartsWith(text));
    EXPECT_EQ(found && !wide, h.state.Use32BitReadPath);
    EXPECT_EQ(found, h.state.SettingsLoaded);
    EXPECT_TRUE(h.state.Is64BitWindows && h.state.LoadComplete);
    for (ControlId id : {btnHelp, btnAbout, btnExit, lbBlocked, lbCLOptions, MainTabControl})
      EXPECT_TRUE(h.form.Enabled(id)) << id;
    for (ControlId id : {edArgument, btnLaunchOutlook, btnSave, cbOther, miRestoreBackup})
      EXPECT_EQ(found, h.form.Enabled(id)) << id << text;
    for (const auto& control : MainWindowLayout().controls)
      EXPECT_EQ(!found && fields.count(control.id),
                h.form.Colour(control.id) == FieldColour::Silver)
          << control.name << text;
  }
}

// Each Browse fills its field, ending in one backslash; a node with no path keeps the picker open.
TEST(Browse, EachButtonFillsItsOwnField) {
  const std::tuple<ControlId, ControlId, std::vector<std::string>, std::string> rows[] = {
      {btnBrowse1, edAttachmentPath, {"D:\\A"}, "D:\\A\\"},
      {btnBrowse2, edPSTPath, {"", "D:\\"}, "D:\\"},
      {btnBrowse3, edSaveAttPath, {"E:\\B\\"}, "E:\\B\\"},
      {btnBrowse4, edOSTPath, {""}, ""}};
  for (const auto& [button, field, picked, result] : rows) {
    MainWindowHarness h;
    h.form.SetEnabled(btnSave, false);
    h.dialogs.ExpectWindow("Browse", [&paths = picked](MemoryForm& picker, EventSink& logic) {
      for (const auto& path : paths) {
        picker.SetText(tform4::JamShellTree1, path);
        logic.OnEvent(tform4::JamShellTree1, Event::DoubleClick);
      }
      logic.OnEvent(tform4::btnCancel, Event::Click);
    });
    h.window.OnEvent(button, Event::Click);
    EXPECT_TRUE(h.dialogs.LastWindow()->Closed());
    EXPECT_EQ(result, h.form.Text(field));
    EXPECT_EQ(std::pair(!result.empty(), !result.empty()),
              std::pair(h.form.Modified(field), h.form.Enabled(btnSave)));
  }
}

// View Folder explains a missing folder; each secondary window is new and closed by its own button.
TEST(MainWindow, ButtonsOfTheWindow) {
  MainWindowHarness h;
  h.dialogs.Expect(MessageKind::Warning, "The attachment default path does not exist.");
  h.form.Type(edAttachmentPath, "D:\\Typed\\");
  h.Press(btnViewFolder);
  const std::tuple<ControlId, const char*, ControlId> rows[] = {
      {btnAbout, "About Tarnwell", tform2::btnClose},
      {btnSecHelp, "Attachment Descriptions", form3::Button1},
      {btnAddins, "Outlook Add-Ins", form7::btnClose},
      {btnCustomPlaces, "Custom Save Locations", form5::btnClose}};
  for (const auto& [button, caption, close] : rows) {
    for (const ControlId id : {close, kNoControl}) {
      h.dialogs.ExpectWindow(caption, [id](MemoryForm& form, EventSink& logic) {
        EXPECT_FALSE(form.Closed());
        logic.OnEvent(id, Event::Click);
      });
      h.Press(button);
      EXPECT_EQ(id != kNoControl, h.dialogs.LastWindow()->Closed()) << caption;
    }
  }
}

}  // namespace
}  // namespace tarnwell

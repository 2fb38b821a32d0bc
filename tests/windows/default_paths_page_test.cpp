// The folder picker and the buttons beside the main window's path fields, on an in-memory
// machine: what each choice puts where, what the save then makes of it, and both reverts.
#include <gmock/gmock.h>
#include <string>
#include <vector>

#include "support/main_window_harness.h"
#include "ui/folder_picker_layout.h"
#include "ui/places_layout.h"
#include "windows/places_window.h"

namespace tarnwell {
namespace {

using namespace tform1;
using Lines = std::vector<std::string>;
using testing::Contains;
using testing::ElementsAre;

// The user double-clicks the tree's node for `path` (empty: a node without one).
ScriptedDialogs::Interaction DoubleClick(std::string path) {
  return [path](MemoryForm& picker, EventSink& logic) {
    picker.SetText(tform4::JamShellTree1, path);
    logic.OnEvent(tform4::JamShellTree1, Event::DoubleClick);
  };
}

ScriptedDialogs::Interaction Cancel() {
  return [](MemoryForm&, EventSink& logic) { logic.OnEvent(tform4::btnCancel, Event::Click); };
}

class Browse : public testing::Test, protected MainWindowHarness {
 protected:
  void SetUp() override {
    SeedNativeOutlook(registry, "14").String("Bitness", "x86");
    Create();
    form.SetEnabled(btnSave, false);
  }
  bool PickerClosed() const { return dialogs.LastWindow()->Closed(); }
};

TEST_F(Browse, EachButtonFillsItsOwnFieldEndingInABackslashAndMarksIt) {
  struct Case {
    ControlId button;
    ControlId field;
  };
  for (auto [button, field] : {Case{btnBrowse1, edAttachmentPath}, Case{btnBrowse2, edPSTPath},
                               Case{btnBrowse3, edSaveAttPath}, Case{btnBrowse4, edOSTPath},
                               Case{btnBrowse5, edDocCachePath}}) {
    const std::string folder = "D:\\Folder " + std::to_string(field);
    for (ControlId other :
         {edAttachmentPath, edPSTPath, edSaveAttPath, edOSTPath, edDocCachePath}) {
      form.SetText(other, "unchanged");
    }
    dialogs.ExpectWindow("Browse", DoubleClick(folder));
    window.OnEvent(button, Event::Click);
    EXPECT_TRUE(PickerClosed());
    for (ControlId other :
         {edAttachmentPath, edPSTPath, edSaveAttPath, edOSTPath, edDocCachePath}) {
      EXPECT_EQ(other == field ? folder + "\\" : "unchanged", form.Text(other)) << field;
      EXPECT_EQ(other == field, form.Modified(other)) << field;
    }
  }
  EXPECT_TRUE(form.Enabled(btnSave));
}

TEST_F(Browse, NodeWithoutAPathKeepsThePickerOpenAndADriveRootKeepsOneBackslash) {
  dialogs.ExpectWindow("Browse", [](MemoryForm& picker, EventSink& logic) {
    DoubleClick("")(picker, logic);
    EXPECT_FALSE(picker.Closed());
    DoubleClick("D:\\")(picker, logic);
  });
  window.OnEvent(btnBrowse2, Event::Click);
  EXPECT_EQ("D:\\", form.Text(edPSTPath));
}

TEST_F(Browse, CancelAfterAChoiceKeepsTheFirstFolderAndItsMark) {
  form.SetText(edPSTPath, "C:\\Old\\");
  dialogs.ExpectWindow("Browse", Cancel());
  window.OnEvent(btnBrowse2, Event::Click);
  EXPECT_TRUE(PickerClosed());
  EXPECT_EQ("C:\\Old\\", form.Text(edPSTPath));
  EXPECT_FALSE(form.Modified(edPSTPath));
  EXPECT_FALSE(form.Enabled(btnSave));

  dialogs.ExpectWindow("Browse", DoubleClick("C:\\Windows")).ExpectWindow("Browse", Cancel());
  window.OnEvent(btnBrowse2, Event::Click);
  window.OnEvent(btnBrowse2, Event::Click);
  EXPECT_EQ("C:\\Windows\\", form.Text(edPSTPath));
  EXPECT_TRUE(form.Modified(edPSTPath));
}

// The entry window's Browse fills its path field and also enables the main window's save.
TEST_F(Browse, EntryWindowsChoiceFillsItsPathAndEnablesTheMainSave) {
  LocationEntryWindow entry_logic(
      entry, form, Services{registry, dialogs, elevation, files, processes, shell, clock}, state);
  dialogs.ExpectWindow("Browse", DoubleClick("E:\\Projects"));
  entry_logic.OnEvent(form6::btnBrowse, Event::Click);
  EXPECT_EQ("E:\\Projects\\", entry.Text(form6::edLocPath));
  EXPECT_TRUE(form.Enabled(btnSave));
  EXPECT_TRUE(PickerClosed());
}

TEST_F(Browse, BrowsedPstPathIsSavedLikeATypedOne) {
  files.AddFolder("D:\\Mail\\");
  dialogs.ExpectWindow("Browse", DoubleClick("D:\\Mail"));
  window.OnEvent(btnBrowse2, Event::Click);
  dialogs
      .Expect(MessageKind::Confirmation, "Are you sure you want to make these changes?",
              Answer::Yes)
      .Expect(MessageKind::Information,
              "You must restart Outlook for these changes to take effect.");
  window.OnEvent(btnSave, Event::Click);
  EXPECT_THAT(journal.Entries(),
              Contains("set HKCU\\Software\\Microsoft\\Office\\14.0\\Outlook ForcePSTPath REG_SZ "
                       "\"D:\\Mail\\\""));
}

class Revert : public testing::Test, protected MainWindowHarness {
 protected:
  static constexpr const char* kSecurity = "Software\\Microsoft\\Office\\14.0\\Outlook\\Security";

  // Outlook 2010, read in the native view when `bitness` is "x86", else in the 64-bit view.
  void Start(const char* bitness, const char* previous) {
    SeedNativeOutlook(registry, "14").String("Bitness", bitness);
    registry.Key(Root::CurrentUser, kSecurity)
        .String("OutlookSecureTempFolder", "C:\\Temp\\OLK2\\")
        .String("OutlookSecureOldTempFolder", previous);
    Create();
    ASSERT_TRUE(form.Enabled(btnRevert));
  }
  void Click() { Dispatch(window, dialogs, btnRevert, Event::Click); }
};

TEST_F(Revert, NativeViewPutsThePreviousFolderBackOrEmptyTextOnceItIsGone) {
  Start("x86", "C:\\Temp\\OLK1\\");
  Click();
  EXPECT_EQ("C:\\Temp\\OLK1\\", form.Text(edAttachmentPath));
  EXPECT_FALSE(form.Enabled(btnRevert));

  registry.Key(Root::CurrentUser, kSecurity).Remove("OutlookSecureOldTempFolder");
  Click();
  EXPECT_EQ("", form.Text(edAttachmentPath));
  EXPECT_EQ("", state.Loaded.OutlookSecureOldTempFolder);
  EXPECT_THAT(journal.Entries(), ElementsAre());
}

TEST_F(Revert, NativeViewWrongTypeIsAnErrorAndTheButtonStays) {
  Start("x86", "C:\\Temp\\OLK1\\");
  registry.Key(Root::CurrentUser, kSecurity).Dword("OutlookSecureOldTempFolder", 1);
  dialogs.ExpectError("Invalid data type for 'OutlookSecureOldTempFolder'");
  Click();
  EXPECT_EQ("C:\\Temp\\OLK2\\", form.Text(edAttachmentPath));
  EXPECT_TRUE(form.Enabled(btnRevert));
}

TEST_F(Revert, SixtyFourBitViewChangesNothingWhenTheValueIsMissingOrTooLong) {
  Start("x64", "C:\\Temp\\OLK1\\");
  registry.Key(Root::CurrentUser, kSecurity)
      .String("OutlookSecureOldTempFolder", "C:\\" + std::string(300, 'x'));
  Click();
  EXPECT_EQ("C:\\Temp\\OLK2\\", form.Text(edAttachmentPath));
  EXPECT_EQ("C:\\Temp\\OLK1\\", state.Loaded.OutlookSecureOldTempFolder);
  EXPECT_FALSE(form.Enabled(btnRevert));

  registry.Key(Root::CurrentUser, kSecurity)
      .String("OutlookSecureOldTempFolder", "C:\\Temp\\OLK3\\");
  Click();
  EXPECT_EQ("C:\\Temp\\OLK3\\", form.Text(edAttachmentPath));
  registry.Key(Root::CurrentUser, kSecurity).Remove("OutlookSecureOldTempFolder");
  Click();
  EXPECT_EQ("C:\\Temp\\OLK3\\", form.Text(edAttachmentPath));
}

TEST_F(Browse, ViewFolderOpensWhatTheFieldNamesNowOrSaysWhyNot) {
  files.AddFolder("D:\\Typed").AddFile("D:\\Typed\\file.txt");
  const std::string empty =
      "The attachment default path field is empty. A possible reason is that you have not yet "
      "opened an attachment in Outlook to create this temporary folder.";
  const std::string missing = "The attachment default path does not exist.";
  dialogs.Expect(MessageKind::Warning, empty).Expect(MessageKind::Warning, missing);
  for (const char* path : {"", "D:\\Typed\\file.txt", "D:\\Typed\\"}) {
    form.Type(edAttachmentPath, path);
    window.OnEvent(btnViewFolder, Event::Click);
  }
  EXPECT_THAT(journal.Entries(),
              ElementsAre("warning: " + empty, "warning: " + missing,
                          "shell explore [D:\\Typed\\] parameters [] folder [] show 1"));
}

}  // namespace
}  // namespace tarnwell

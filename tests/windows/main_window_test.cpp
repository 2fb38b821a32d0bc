#include <gmock/gmock.h>
#include <map>

#include "support/main_window_harness.h"

namespace tarnwell {
namespace {

using namespace tform1;

class StartUp : public testing::Test, protected MainWindowHarness {
 protected:
  StartUp() = default;
  void Create() { window.FormCreate(); }
};

// Enabled state of the version-bound controls after start-up, by what was found.
struct EnabledRow {
  ControlId id;
  bool not_found, v9, v10, v11, v14;
};

constexpr EnabledRow kEnabledTable[] = {
    // id                not found  9      10     11/12  14/15
    {edDocCachePath, false, false, false, false, true},
    {btnBrowse5, false, false, false, false, true},
    {cbEnableDEP, false, false, false, false, true},
    {cbDisablePST, false, false, true, true, true},
    {cbPOP3, false, false, true, true, true},
    {cbOther, false, false, true, true, true},
    {cbReadAsPlain, false, false, true, true, true},
    {cbSaveMIME, false, false, true, true, true},
    {edOSTPath, false, false, true, true, true},
    {btnBrowse4, false, false, true, true, true},
    {btnRevert, false, false, false, false, false},
    {edArgument, false, true, true, true, true},
    {btnBrowse6, false, false, false, false, false},
    {btnLaunchOutlook, false, true, true, true, true},
    {btnScanPST, false, true, true, true, true},
    {btnSave, false, true, true, true, true},
    {miRestoreBackup, false, true, true, true, true},
    {miExportSettings, false, true, true, true, true},
    {cbDumpster, false, true, true, true, true},
    {lblTransfer, false, true, true, true, true},
    {btnSecHelp, false, true, true, true, true},
    {btnHelp, true, true, true, true, true},
    {btnAbout, true, true, true, true, true},
    {btnExit, true, true, true, true, true},
    {lbBlocked, true, true, true, true, true},
    {lbCLOptions, true, true, true, true, true},
    {mDescription, true, true, true, true, true},
    {MainTabControl, true, true, true, true, true},
};

TEST_F(StartUp, EnabledStateFollowsTheDetectedVersion) {
  struct Case {
    const char* major;
    bool EnabledRow::*column;
  };
  for (auto [major, column] :
       {Case{"", &EnabledRow::not_found}, Case{"9", &EnabledRow::v9}, Case{"10", &EnabledRow::v10},
        Case{"11", &EnabledRow::v11}, Case{"12", &EnabledRow::v11}, Case{"14", &EnabledRow::v14},
        Case{"15", &EnabledRow::v14}}) {
    MainWindowHarness harness;
    if (*major != '\0') {
      SeedNativeOutlook(harness.registry, major).String("Bitness", "x86");
    }
    harness.window.FormCreate();
    for (const auto& row : kEnabledTable) {
      EXPECT_EQ(row.*column, harness.form.Enabled(row.id))
          << MainWindowLayout().Find(row.id)->name << " with version '" << major << "'";
    }
    EXPECT_TRUE(harness.state.LoadComplete);
  }
}

TEST_F(StartUp, NoOutlookDisablesTheThirtySevenControlsAndPaintsFiveFieldsSilver) {
  Create();
  EXPECT_EQ("Microsoft Outlook 2000 to 2024, or Microsoft 365, is not installed",
            form.Text(pOutlookVersion));
  int disabled = 0;
  for (const auto& row : MainWindowLayout().controls) {
    if (!form.Enabled(row.id)) {
      ++disabled;
    }
  }
  // The 37, plus edDocCachePath and btnBrowse5, disabled from creation.
  EXPECT_EQ(39, disabled);
  for (ControlId id :
       {edAttachmentPath, edPSTPath, edOSTPath, edSaveAttPath, edArgument, edDocCachePath}) {
    EXPECT_EQ(FieldColour::Silver, form.Colour(id)) << MainWindowLayout().Find(id)->name;
  }
  EXPECT_FALSE(state.OutlookVersion.Found);
  EXPECT_TRUE(state.LoadComplete);
  EXPECT_TRUE(state.Is64BitWindows);
  EXPECT_FALSE(state.IsWindows8);
}

TEST_F(StartUp, Outlook2010On64BitWindowsChoosesTheNativeReadPath) {
  SeedNativeOutlook(registry, "14").String("Bitness", "x86");
  Create();
  EXPECT_EQ("Microsoft Outlook 2010 (32-bit)", form.Text(pOutlookVersion));
  EXPECT_TRUE(state.Use32BitReadPath);
  EXPECT_EQ(FieldColour::Window, form.Colour(edDocCachePath));
}

TEST_F(StartUp, SixtyFourBitOutlookChoosesThe64BitReadPath) {
  Seed64BitOutlook(registry, "15").String("Bitness", "x64");
  Create();
  EXPECT_EQ("Microsoft Outlook 2013 (64-bit)", form.Text(pOutlookVersion));
  EXPECT_FALSE(state.Use32BitReadPath);
}

TEST_F(StartUp, ErrorIsShownAndTheWindowCannotSaveWhatItNeverRead) {
  SeedNativeOutlook(registry, "15").Dword("Bitness", 1);
  dialogs.ExpectError("Invalid data type for 'Bitness'");
  Create();
  EXPECT_FALSE(form.Enabled(btnSave));
  EXPECT_FALSE(state.OutlookVersion.Found);
  EXPECT_EQ(OfficeVersion::None, state.OutlookVersion.MajorVersion);
  EXPECT_EQ("Microsoft Outlook 2000 to 2024, or Microsoft 365, is not installed",
            form.Text(pOutlookVersion));
  EXPECT_TRUE(state.LoadComplete);
  EXPECT_THAT(journal.Entries(),
              testing::ElementsAre("error box: Invalid data type for 'Bitness'"));
}

TEST_F(StartUp, ExitEndsTheProgramWithoutWritingAnything) {
  SeedNativeOutlook(registry, "14").String("Bitness", "x86");
  Create();
  form.Type(edPSTPath, "D:\\Elsewhere\\");
  form.SetChecked(cbReadAsPlain, true);
  journal.Clear();
  window.OnEvent(btnExit, Event::Click);
  EXPECT_TRUE(form.Closed());
  EXPECT_THAT(journal.Entries(), testing::IsEmpty());
}

}  // namespace
}  // namespace tarnwell

#include "settings/detection.h"

#include <gtest/gtest.h>

#include "fakes/memory_form.h"
#include "platform/registry_object.h"
#include "support/registry_seed.h"
#include "support/versions.h"
#include "ui/main_layout.h"

namespace tarnwell {
namespace {

using namespace tform1;
using Windows = MemoryRegistry::Windows;

class Detection : public testing::TestWithParam<Windows> {
 protected:
  Detection() : registry_(GetParam()), form_(MainWindowLayout()) {}

  bool windows64() const { return GetParam() == Windows::Bits64; }

  OutlookVersionInfo Detect() {
    OutlookVersionInfo outlook;
    GetOutlookVersion(registry_, form_, outlook);
    EXPECT_EQ(0u, registry_.OpenHandles());
    return outlook;
  }

  bool ModernControlsEnabled() const {
    return form_.Enabled(edDocCachePath) && form_.Enabled(btnBrowse5) &&
           form_.Enabled(cbEnableDEP) && form_.Colour(edDocCachePath) == FieldColour::Window;
  }

  MemoryRegistry registry_;
  MemoryForm form_;
};

INSTANTIATE_TEST_SUITE_P(Windows, Detection, testing::Values(Windows::Bits64, Windows::Bits32),
                         [](const auto& info) {
                           return info.param == Windows::Bits64 ? "On64Bit" : "On32Bit";
                         });

TEST_P(Detection, Outlook2003IsA32BitInstallationReadNatively) {
  SeedNativeOutlook(registry_, "11");
  OutlookVersionInfo outlook = Detect();
  EXPECT_TRUE(outlook.Found);
  EXPECT_EQ(OfficeVersion::V11, outlook.MajorVersion);
  EXPECT_EQ(Bitness::Bits32, outlook.OutlookBitness);
  EXPECT_EQ("Microsoft Outlook 2003 (32-bit)", form_.Text(pOutlookVersion));
  EXPECT_TRUE(ChooseUse32BitReadPath(windows64(), outlook));
  EXPECT_FALSE(ModernControlsEnabled());
}

TEST_P(Detection, ThirtyTwoBitOutlook2010EnablesTheModernControls) {
  SeedNativeOutlook(registry_, "14").String("Bitness", "x86");
  OutlookVersionInfo outlook = Detect();
  EXPECT_EQ(OfficeVersion::V14, outlook.MajorVersion);
  EXPECT_EQ("Microsoft Outlook 2010 (32-bit)", outlook.DisplayText());
  EXPECT_EQ("Microsoft Outlook 2010 (32-bit)", form_.Text(pOutlookVersion));
  EXPECT_TRUE(ChooseUse32BitReadPath(windows64(), outlook));
  EXPECT_TRUE(ModernControlsEnabled());
}

TEST_P(Detection, NativeX64BitnessMeansA64BitOutlookReadThrough64BitView) {
  SeedNativeOutlook(registry_, "15").String("Bitness", "x64");
  OutlookVersionInfo outlook = Detect();
  EXPECT_EQ("Microsoft Outlook 2013 (64-bit)", outlook.DisplayText());
  EXPECT_EQ(Bitness::Bits64, outlook.OutlookBitness);
  EXPECT_EQ(!windows64(), ChooseUse32BitReadPath(windows64(), outlook));
}

TEST_P(Detection, BitnessIsCaseSensitive) {
  SeedNativeOutlook(registry_, "15").String("Bitness", "X64");
  EXPECT_EQ("Microsoft Outlook 2013 (32-bit)", Detect().DisplayText());
}

TEST_P(Detection, NewestNativeVersionWins) {
  SeedNativeOutlook(registry_, "14").String("Bitness", "x86");
  SeedNativeOutlook(registry_, "15");
  SeedNativeOutlook(registry_, "9");
  OutlookVersionInfo outlook = Detect();
  EXPECT_EQ(OfficeVersion::V15, outlook.MajorVersion);
  EXPECT_EQ("Microsoft Outlook 2013 (32-bit)", outlook.DisplayText());
}

TEST_P(Detection, KeyGoneAtTheTrailingBackslashTestLeavesBitnessUndetermined) {
  SeedNativeOutlook(registry_, "15").String("Bitness", "x86");
  registry_.FailOn(MemoryRegistry::Op::Open, Root::LocalMachine,
                   NativeMachinePath(registry_, OutlookKey("15")), kFileNotFound, {}, 1);
  OutlookVersionInfo outlook = Detect();
  EXPECT_TRUE(outlook.Found);
  EXPECT_EQ(OfficeVersion::V15, outlook.MajorVersion);
  EXPECT_EQ(Bitness::NotDetermined, outlook.OutlookBitness);
  EXPECT_EQ("", outlook.DisplayText());
  EXPECT_EQ("...", form_.Text(pOutlookVersion));
  EXPECT_FALSE(form_.Enabled(edDocCachePath));
  EXPECT_EQ(FieldColour::Silver, form_.Colour(edDocCachePath));
  EXPECT_FALSE(form_.Enabled(cbEnableDEP));
  EXPECT_EQ(!windows64(), ChooseUse32BitReadPath(windows64(), outlook));
}

TEST_P(Detection, Outlook2000DisablesWhatItLacksAndKeepsTheOstFieldColour) {
  SeedNativeOutlook(registry_, "9");
  Detect();
  EXPECT_EQ("Microsoft Outlook 2000 (32-bit)", form_.Text(pOutlookVersion));
  for (ControlId id : {cbDisablePST, cbPOP3, cbIMAP, cbExchange, cbHTTP, cbOther, cbReadAsPlain,
                       cbSaveMIME, edOSTPath, btnBrowse4}) {
    EXPECT_FALSE(form_.Enabled(id)) << MainWindowLayout().Find(id)->name;
  }
  EXPECT_EQ(FieldColour::Window, form_.Colour(edOSTPath));
  EXPECT_FALSE(ModernControlsEnabled());
  EXPECT_TRUE(form_.Enabled(cbShowClipboard));
}

TEST_P(Detection, NoOfficeKeysFindsNothingAndLeavesThePanel) {
  OutlookVersionInfo outlook = Detect();
  EXPECT_FALSE(outlook.Found);
  EXPECT_EQ(OfficeVersion::None, outlook.MajorVersion);
  EXPECT_EQ("...", form_.Text(pOutlookVersion));
}

TEST_P(Detection, NativeBitnessOfAnotherTypeIsAnError) {
  SeedNativeOutlook(registry_, "14").Dword("Bitness", 64);
  OutlookVersionInfo outlook;
  try {
    GetOutlookVersion(registry_, form_, outlook);
    ADD_FAILURE() << "no error raised";
  } catch (const RegistryError& error) {
    EXPECT_STREQ("Invalid data type for 'Bitness'", error.what());
  }
  EXPECT_FALSE(outlook.Found);
  EXPECT_EQ(0u, registry_.OpenHandles());
}

// On 32-bit Windows both views are one branch, so the read-only 64-bit-view probe finds a
// 2010 whose key refuses full access; on 64-bit Windows that key is simply skipped.
TEST_P(Detection, KeyRefusingFullAccessIsSkippedByTheNativeProbes) {
  SeedNativeOutlook(registry_, "14").String("Bitness", "x86").RefuseAccess(Rights::Full);
  OutlookVersionInfo outlook = Detect();
  EXPECT_EQ(!windows64(), outlook.Found);
  if (!windows64()) {
    EXPECT_EQ("Microsoft Outlook 2010 (32-bit)", outlook.DisplayText());
    EXPECT_TRUE(ModernControlsEnabled());
  }
}

TEST(Detection64, SixtyFourBitOutlook2013OnlyIsFoundInThe64BitView) {
  MemoryRegistry registry(Windows::Bits64);
  MemoryForm form(MainWindowLayout());
  Seed64BitOutlook(registry, "15").String("Bitness", "x64");
  OutlookVersionInfo outlook;
  GetOutlookVersion(registry, form, outlook);
  EXPECT_EQ(OfficeVersion::V15, outlook.MajorVersion);
  EXPECT_EQ("Microsoft Outlook 2013 (64-bit)", form.Text(pOutlookVersion));
  EXPECT_FALSE(ChooseUse32BitReadPath(true, outlook));
  EXPECT_TRUE(form.Enabled(edDocCachePath));
}

TEST(Detection64, LeftOverNativeKeyOfAnOlderVersionWinsOverThe64BitView) {
  MemoryRegistry registry(Windows::Bits64);
  MemoryForm form(MainWindowLayout());
  Seed64BitOutlook(registry, "15").String("Bitness", "x64");
  SeedNativeOutlook(registry, "12");
  OutlookVersionInfo outlook;
  GetOutlookVersion(registry, form, outlook);
  EXPECT_EQ(OfficeVersion::V12, outlook.MajorVersion);
  EXPECT_EQ("Microsoft Outlook 2007 (32-bit)", outlook.DisplayText());
  EXPECT_FALSE(form.Enabled(edDocCachePath));
}

TEST(Detection64, UnreadableBitnessInThe64BitViewCountsAs32Bit) {
  for (auto seed :
       {+[](MemoryRegistry::KeyRef& key) { key.Dword("Bitness", 64); },
        +[](MemoryRegistry::KeyRef& key) { key.String("Bitness", std::string(2001, 'x')); },
        +[](MemoryRegistry::KeyRef&) {}}) {
    MemoryRegistry registry(Windows::Bits64);
    MemoryForm form(MainWindowLayout());
    auto key = Seed64BitOutlook(registry, "14");
    seed(key);
    OutlookVersionInfo outlook;
    GetOutlookVersion(registry, form, outlook);
    EXPECT_EQ("Microsoft Outlook 2010 (32-bit)", outlook.DisplayText());
    EXPECT_TRUE(ChooseUse32BitReadPath(true, outlook));
  }
}

TEST(Detection64, SixtyFourBitViewFindsOnly2013And2010) {
  MemoryRegistry registry(Windows::Bits64);
  MemoryForm form(MainWindowLayout());
  Seed64BitOutlook(registry, "12");
  OutlookVersionInfo outlook;
  GetOutlookVersion(registry, form, outlook);
  EXPECT_FALSE(outlook.Found);
}

}  // namespace
}  // namespace tarnwell

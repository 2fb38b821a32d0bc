#include "settings/detection.h"

#include <gtest/gtest.h>
#include <memory>

#include "fakes/memory_file_system.h"
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
    GetOutlookVersion(registry_, files_, form_, outlook);
    EXPECT_EQ(0u, registry_.OpenHandles());
    return outlook;
  }

  bool ModernControlsEnabled() const {
    return form_.Enabled(edDocCachePath) && form_.Enabled(btnBrowse5) &&
           form_.Enabled(cbEnableDEP) && form_.Colour(edDocCachePath) == FieldColour::Window;
  }

  MemoryRegistry registry_;
  MemoryFileSystem files_;
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
    GetOutlookVersion(registry_, files_, form_, outlook);
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
  MemoryFileSystem files;
  Seed64BitOutlook(registry, "15").String("Bitness", "x64");
  OutlookVersionInfo outlook;
  GetOutlookVersion(registry, files, form, outlook);
  EXPECT_EQ(OfficeVersion::V15, outlook.MajorVersion);
  EXPECT_EQ("Microsoft Outlook 2013 (64-bit)", form.Text(pOutlookVersion));
  EXPECT_FALSE(ChooseUse32BitReadPath(true, outlook));
  EXPECT_TRUE(form.Enabled(edDocCachePath));
}

TEST(Detection64, LeftOverNativeKeyOfAnOlderVersionWinsOverThe64BitView) {
  MemoryRegistry registry(Windows::Bits64);
  MemoryForm form(MainWindowLayout());
  MemoryFileSystem files;
  Seed64BitOutlook(registry, "15").String("Bitness", "x64");
  SeedNativeOutlook(registry, "12");
  OutlookVersionInfo outlook;
  GetOutlookVersion(registry, files, form, outlook);
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
    MemoryFileSystem files;
    auto key = Seed64BitOutlook(registry, "14");
    seed(key);
    OutlookVersionInfo outlook;
    GetOutlookVersion(registry, files, form, outlook);
    EXPECT_EQ("Microsoft Outlook 2010 (32-bit)", outlook.DisplayText());
    EXPECT_TRUE(ChooseUse32BitReadPath(true, outlook));
  }
}

TEST(Detection64, SixtyFourBitViewFindsOnly2013And2010) {
  MemoryRegistry registry(Windows::Bits64);
  MemoryForm form(MainWindowLayout());
  MemoryFileSystem files;
  Seed64BitOutlook(registry, "12");
  OutlookVersionInfo outlook;
  GetOutlookVersion(registry, files, form, outlook);
  EXPECT_FALSE(outlook.Found);
}

// Click-to-Run and Office 16.0 installed by Windows Installer, on 64-bit Windows.
class Detection16 : public testing::Test {
 protected:
  static constexpr std::string_view kConfiguration =
      "Software\\Microsoft\\Office\\ClickToRun\\Configuration";

  MemoryRegistry::KeyRef ClickToRun(std::string_view path = "C:\\Program Files\\Microsoft Office",
                                    std::string_view folder = "Office16") {
    files_.AddFile("C:\\Program Files\\Microsoft Office\\root\\" + std::string(folder) +
                   "\\OUTLOOK.EXE");
    return registry_
        .Key(Root::LocalMachine, folder == "Office16" ? std::string(kConfiguration)
                                                      : "Software\\Microsoft\\Office\\15.0\\"
                                                        "ClickToRun\\Configuration")
        .String("InstallationPath", path)
        .String("Platform", "x64")
        .String("ProductReleaseIds", "VisioProRetail,O365ProPlusRetail");
  }

  OutlookVersionInfo Detect() {
    OutlookVersionInfo outlook;
    form_ = std::make_unique<MemoryForm>(MainWindowLayout());
    GetOutlookVersion(registry_, files_, *form_, outlook);
    EXPECT_EQ(0u, registry_.OpenHandles());
    return outlook;
  }

  MemoryRegistry registry_{Windows::Bits64};
  MemoryFileSystem files_;
  std::unique_ptr<MemoryForm> form_;
};

TEST_F(Detection16, ClickToRunIsFoundByItsConfigurationAndItsOutlookProgram) {
  ClickToRun("C:\\Program Files\\Microsoft Office\\\\");
  OutlookVersionInfo outlook = Detect();
  EXPECT_TRUE(outlook.Found);
  EXPECT_EQ(OfficeVersion::V16, outlook.MajorVersion);
  EXPECT_TRUE(outlook.IsClickToRun());
  EXPECT_EQ("C:\\Program Files\\Microsoft Office\\root\\Office16\\", outlook.ProgramFolder);
  EXPECT_EQ("Microsoft Outlook for Microsoft 365 (64-bit)", form_->Text(pOutlookVersion));
  EXPECT_FALSE(ChooseUse32BitReadPath(true, outlook));
  // 2016 and later always run with DEP: the box stays off.
  EXPECT_TRUE(form_->Enabled(edDocCachePath));
  EXPECT_FALSE(form_->Enabled(cbEnableDEP));

  // Only in the 32-bit view, and any platform but "x64" exactly, is a 32-bit Outlook.
  registry_.DeleteTree(Root::LocalMachine, std::string(kConfiguration));
  registry_
      .Key(Root::LocalMachine,
           NativeMachinePath(registry_, "Microsoft\\Office\\ClickToRun\\Configuration"))
      .String("InstallationPath", "\\\\server\\office")
      .String("Platform", "X64");
  files_.AddFile("\\\\server\\office\\root\\Office16\\OUTLOOK.EXE");
  outlook = Detect();
  EXPECT_EQ("Microsoft Outlook 2016 (32-bit)", outlook.DisplayText());
  EXPECT_TRUE(ChooseUse32BitReadPath(true, outlook));
}

// "\\\\" alone would leave a folder of no drive, found on whatever drive is current.
TEST_F(Detection16, ClickToRunWithoutAnOutlookOrAFullPathIsNoOutlook) {
  files_.AddFile("\\root\\Office16\\OUTLOOK.EXE");
  for (auto spoil :
       {+[](MemoryRegistry::KeyRef& key) { key.String("InstallationPath", "Office"); },
        +[](MemoryRegistry::KeyRef& key) { key.Dword("InstallationPath", 1); },
        +[](MemoryRegistry::KeyRef& key) { key.String("InstallationPath", "\\\\"); },
        +[](MemoryRegistry::KeyRef& key) { key.String("InstallationPath", "D:\\Elsewhere"); }}) {
    auto key = ClickToRun();
    spoil(key);
    EXPECT_FALSE(Detect().Found);
  }
}

// Click-to-Run 2016 and later, then 16.0 by Windows Installer (native, then 64-bit view),
// then the older probes, and Click-to-Run 2013 only when nothing else is there.
TEST_F(Detection16, ProbesRunInOrderAndTheFirstFindEndsThem) {
  ClickToRun("C:\\Program Files\\Microsoft Office", "Office15");
  EXPECT_EQ("Microsoft Outlook 2013 (64-bit)", Detect().DisplayText());
  SeedNativeOutlook(registry_, "12");
  EXPECT_EQ(OfficeVersion::V12, Detect().MajorVersion);
  Seed64BitOutlook(registry_, "16").String("Bitness", "x64");
  SeedNativeOutlook(registry_, "15").String("Bitness", "x86");
  OutlookVersionInfo outlook = Detect();
  EXPECT_EQ("Microsoft Outlook 2016 (64-bit)", outlook.DisplayText());
  EXPECT_FALSE(outlook.IsClickToRun());
  SeedNativeOutlook(registry_, "16").String("Bitness", "x86");
  EXPECT_EQ("Microsoft Outlook 2016 (32-bit)", Detect().DisplayText());
  ClickToRun().String("ProductReleaseIds", "ProPlus2021Volume");
  EXPECT_EQ("Microsoft Outlook 2021 (64-bit)", Detect().DisplayText());
}

TEST(ReleaseIds, NameTheProductOfTheFirstRuleThatAnyIdMatches) {
  for (auto [ids, product] :
       {std::pair{"O365ProPlusRetail,VisioProRetail", Product::Microsoft365},
        std::pair{"m365businessretail", Product::Microsoft365},
        std::pair{"Outlook2019Volume,ProPlus2024Volume", Product::Outlook2024},
        std::pair{"ProPlus2021Volume", Product::Outlook2021},
        std::pair{"Outlook2019Volume", Product::Outlook2019},
        std::pair{"VisioPro2024Retail,HomeBusinessRetail", Product::OfVersion},
        std::pair{"", Product::OfVersion}}) {
    EXPECT_EQ(product, ReleaseOf(ids)) << ids;
  }
}

}  // namespace
}  // namespace tarnwell

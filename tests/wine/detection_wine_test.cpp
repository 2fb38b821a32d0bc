// Detection and start-up against Wine's registry, where the 32-bit and 64-bit branches of
// HKLM\Software are really redirected.
#include <windows.h>

#include <gtest/gtest.h>
#include <string>

#include "fakes/memory_form.h"
#include "ui/main_layout.h"
#include "ui/places_layout.h"
#include "windows/main_window.h"
#include "wine/real_services.h"

namespace tarnwell {
namespace {

using namespace tform1;

void SetText(HKEY root, REGSAM view, const std::string& path, const char* name, const char* text) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE | view,
                                           nullptr, &key, nullptr));
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                 static_cast<DWORD>(strlen(text) + 1));
  RegCloseKey(key);
}

// The 32-bit branch as a 32-bit program sees it, and the 64-bit branch.
constexpr REGSAM k32 = KEY_WOW64_32KEY;
constexpr REGSAM k64 = KEY_WOW64_64KEY;

class WineStartUp : public testing::Test {
 protected:
  void SetUp() override { RemoveOffice(); }
  void TearDown() override { RemoveOffice(); }

  static void RemoveOffice() {
    for (REGSAM view : {k32, k64}) {
      HKEY microsoft = nullptr;
      if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft", 0, KEY_ALL_ACCESS | view,
                        &microsoft) == ERROR_SUCCESS) {
        RegDeleteTreeA(microsoft, "Office");
        RegCloseKey(microsoft);
      }
    }
  }

  void Create() { MainWindow(form_, entry_, real_.services, state_).FormCreate(); }

  RealServices real_;
  MemoryForm form_{MainWindowLayout()};
  MemoryForm entry_{LocationEntryLayout()};
  AppState state_;
};

TEST_F(WineStartUp, ThePrefixIs64BitWindows7) {
  Create();
  EXPECT_TRUE(state_.Is64BitWindows);
  EXPECT_FALSE(state_.IsWindows8);
}

TEST_F(WineStartUp, ThirtyTwoBitOutlook2010InTheWow6432NodeBranch) {
  SetText(HKEY_LOCAL_MACHINE, k32, "Software\\Microsoft\\Office\\14.0\\Outlook", "Bitness", "x86");
  Create();
  EXPECT_EQ("Microsoft Outlook 2010 (32-bit)", form_.Text(pOutlookVersion));
  EXPECT_TRUE(state_.Use32BitReadPath);
  EXPECT_TRUE(form_.Enabled(edDocCachePath));
}

TEST_F(WineStartUp, SixtyFourBitOutlook2013OnlyInThe64BitBranch) {
  SetText(HKEY_LOCAL_MACHINE, k64, "Software\\Microsoft\\Office\\15.0\\Outlook", "Bitness", "x64");
  Create();
  EXPECT_EQ("Microsoft Outlook 2013 (64-bit)", form_.Text(pOutlookVersion));
  EXPECT_EQ(OfficeVersion::V15, state_.OutlookVersion.MajorVersion);
  EXPECT_FALSE(state_.Use32BitReadPath);
}

TEST_F(WineStartUp, LeftOver2007KeyInThe32BitBranchWinsOverA64Bit2013) {
  SetText(HKEY_LOCAL_MACHINE, k64, "Software\\Microsoft\\Office\\15.0\\Outlook", "Bitness", "x64");
  SetText(HKEY_LOCAL_MACHINE, k32, "Software\\Microsoft\\Office\\12.0\\Outlook", "Bitness", "x86");
  Create();
  EXPECT_EQ("Microsoft Outlook 2007 (32-bit)", form_.Text(pOutlookVersion));
  EXPECT_EQ(OfficeVersion::V12, state_.OutlookVersion.MajorVersion);
  EXPECT_TRUE(state_.Use32BitReadPath);
}

TEST_F(WineStartUp, NoOfficeKeysMeansNotInstalled) {
  Create();
  EXPECT_EQ(kNotInstalledText, form_.Text(pOutlookVersion));
  EXPECT_FALSE(form_.Enabled(btnSave));
}

}  // namespace
}  // namespace tarnwell

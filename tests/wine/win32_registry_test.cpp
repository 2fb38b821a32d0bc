// Windows' registry under Wine: the contract suite, and how the native view maps.
#include "platform/win32/win32_registry.h"

#include <windows.h>

#include "platform/registry_contract.h"
#include "platform/win32/win32_elevation.h"

namespace tarnwell {
namespace {

void DeleteContractKeys() {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
      HKEY software = nullptr;
      if (RegOpenKeyExA(root, "Software", 0, KEY_ALL_ACCESS | view, &software) == ERROR_SUCCESS) {
        RegDeleteTreeA(software, "TarnwellContract");
        RegCloseKey(software);
      }
    }
  }
}

class Win32UnderTest final : public RegistryUnderTest {
 public:
  Win32UnderTest() { DeleteContractKeys(); }
  ~Win32UnderTest() override { DeleteContractKeys(); }
  Registry& Get() override { return registry_; }
  bool Windows64() const override { return true; }  // Wine's prefix is 64-bit Windows

 private:
  Win32Registry registry_;
};

INSTANTIATE_TEST_SUITE_P(Wine, RegistryContract,
                         testing::Values(RegistryKind{
                             "Windows64", [] { return std::make_unique<Win32UnderTest>(); }}),
                         RegistryKindName);

bool ExistsIn64BitView(const char* path) {
  HKEY raw = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ | KEY_WOW64_64KEY, &raw) !=
      ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(raw);
  return true;
}

// Both builds must see what the shipping 32-bit program sees: its native view of
// HKLM\Software is the Wow6432Node branch; View64 is the 64-bit branch itself.
TEST(Win32Registry, NativeViewIsTheWow6432NodeBranchAndView64TheOther) {
  DeleteContractKeys();
  Win32Registry registry;
  RegKey native, wide;
  ASSERT_EQ(kSuccess,
            native.Create(registry, Root::LocalMachine, "Software\\TarnwellContract\\Native",
                          Rights::Write, RegistryView::NativeView));
  ASSERT_EQ(kSuccess, wide.Create(registry, Root::LocalMachine, "Software\\TarnwellContract\\Wide",
                                  Rights::Write, RegistryView::View64));
  EXPECT_TRUE(ExistsIn64BitView("Software\\Wow6432Node\\TarnwellContract\\Native"));
  EXPECT_FALSE(ExistsIn64BitView("Software\\TarnwellContract\\Native"));
  EXPECT_TRUE(ExistsIn64BitView("Software\\TarnwellContract\\Wide"));
  EXPECT_FALSE(ExistsIn64BitView("Software\\Wow6432Node\\TarnwellContract\\Wide"));
}

#ifndef _WIN64
// Why the 32-bit build asks for no view at all: it runs under WOW64, where the registry
// itself sends a plain HKLM\Software to the Wow6432Node branch.
TEST(Win32Registry, The32BitProgramRunsUnderWow64AndIsRedirected) {
  BOOL wow64 = FALSE;
  ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
  EXPECT_TRUE(wow64) << "the 32-bit build must run on Wine's WOW64, as on 64-bit Windows";
  DeleteContractKeys();
  HKEY plain = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\TarnwellContract\\Plain",
                                           0, nullptr, 0, KEY_WRITE, nullptr, &plain, nullptr));
  RegCloseKey(plain);
  EXPECT_TRUE(ExistsIn64BitView("Software\\Wow6432Node\\TarnwellContract\\Plain"));
  EXPECT_FALSE(ExistsIn64BitView("Software\\TarnwellContract\\Plain"));
}
#endif

// Wine grants administrator rights to every process; the other answer is tested natively.
TEST(Win32Elevation, WineRunsEveryProgramAsAdministrator) {
  EXPECT_TRUE(Win32Elevation().IsAppElevated());
}

}  // namespace
}  // namespace tarnwell

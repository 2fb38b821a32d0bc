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

// The 64-bit build must see what the shipping 32-bit program sees: its native view of
// HKLM\Software is the Wow6432Node branch.
TEST(Win32Registry, NativeViewIsWhatA32BitProgramSees) {
  DeleteContractKeys();
  Win32Registry registry;
  RegKey key;
  ASSERT_EQ(kSuccess, key.Create(registry, Root::LocalMachine, "Software\\TarnwellContract\\Native",
                                 Rights::Write, RegistryView::NativeView));
  HKEY raw = nullptr;
  EXPECT_EQ(ERROR_SUCCESS,
            RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Wow6432Node\\TarnwellContract\\Native", 0,
                          KEY_READ | KEY_WOW64_64KEY, &raw));
  if (raw != nullptr) {
    RegCloseKey(raw);
  }
  key.Close();
  DeleteContractKeys();
}

// Wine grants administrator rights to every process; the other answer is tested natively.
TEST(Win32Elevation, WineRunsEveryProgramAsAdministrator) {
  EXPECT_TRUE(Win32Elevation().IsAppElevated());
}

}  // namespace
}  // namespace tarnwell

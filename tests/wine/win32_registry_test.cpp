// Windows' registry under Wine runs the registry contract.
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

// Wine's prefix is 64-bit Windows.
INSTANTIATE_TEST_SUITE_P(Wine, RegistryContract,
                         testing::Values(RegistryKind{
                             "Windows64", true,
                             [] {
                               DeleteContractKeys();
                               auto windows = std::make_shared<Win32Registry>();
                               return std::shared_ptr<Registry>(
                                   windows.get(), [windows](Registry*) { DeleteContractKeys(); });
                             }}),
                         RegistryKindName);

// Wine grants administrator rights to every process; the other answer is tested natively.
TEST(Win32Elevation, WineRunsEveryProgramAsAdministrator) {
  EXPECT_TRUE(Win32Elevation().IsAppElevated());
}

}  // namespace
}  // namespace tarnwell

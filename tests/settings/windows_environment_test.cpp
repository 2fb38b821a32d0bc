#include "settings/windows_environment.h"

#include <gtest/gtest.h>

#include "support/registry_seed.h"

namespace tarnwell {
namespace {

// Machine values -> 64-bit Windows (an architecture with "64") and Windows 8 (its product
// name, case-sensitively, from the 64-bit branch); a failed read answers false.
TEST(WindowsEnvironment, MachineValuesGiveTheFlags) {
  const struct {
    const char* architecture;
    const char* product;
    bool fail, is64, is8;
  } rows[] = {
      {"AMD64", "Windows 8 Pro", false, true, true},
      {"IA64", "Windows 8.1 Enterprise", false, true, true},
      {"x86", "windows 8", false, false, false},
      {nullptr, "Windows 10 Pro", false, false, false},
      {"AMD64", "Windows 8 Pro", true, false, false},
  };
  const std::string environment =
      "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
  for (const auto& row : rows) {
    MemoryRegistry registry;
    registry.Key(Root::LocalMachine, environment);
    row.architecture ? SeedProcessorArchitecture(registry, row.architecture) : void();
    SeedProductName(registry, row.product);
    if (row.fail) {
      registry.FailOn(MemoryRegistry::Op::Query, Root::LocalMachine,
                      "Software\\Microsoft\\Windows NT\\CurrentVersion", kAccessDenied);
      registry.FailOn(MemoryRegistry::Op::Open, Root::LocalMachine, environment, kAccessDenied);
    }
    EXPECT_EQ(row.is64, ReadIs64BitWindows(registry)) << row.product;
    EXPECT_EQ(row.is8, ReadIsWindows8(registry)) << row.product;
  }
  MemoryRegistry native_branch_only;
  native_branch_only
      .Key(Root::LocalMachine, "Software\\Wow6432Node\\Microsoft\\Windows NT\\CurrentVersion")
      .String("ProductName", "Windows 8 Pro");
  EXPECT_FALSE(ReadIsWindows8(native_branch_only));
}

}  // namespace
}  // namespace tarnwell

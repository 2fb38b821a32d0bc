#include "settings/windows_environment.h"

#include <gtest/gtest.h>

#include "support/registry_seed.h"

namespace tarnwell {
namespace {

TEST(WindowsEnvironment, ArchitectureWith64Means64BitWindows) {
  for (auto [architecture, expected] :
       {std::pair{"AMD64", true}, std::pair{"IA64", true}, std::pair{"x86", false}}) {
    MemoryRegistry registry;
    SeedProcessorArchitecture(registry, architecture);
    EXPECT_EQ(expected, ReadIs64BitWindows(registry)) << architecture;
  }
  MemoryRegistry without_value;
  without_value.Key(Root::LocalMachine,
                    "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment");
  EXPECT_FALSE(ReadIs64BitWindows(without_value));
}

TEST(WindowsEnvironment, ProductNameContainingWindows8CaseSensitively) {
  for (auto [product, expected] :
       {std::pair{"Windows 8 Pro", true}, std::pair{"Windows 8.1 Enterprise", true},
        std::pair{"windows 8", false}, std::pair{"Windows 10 Pro", false},
        std::pair{"Windows 7 Professional", false}}) {
    MemoryRegistry registry;
    SeedProductName(registry, product);
    EXPECT_EQ(expected, ReadIsWindows8(registry)) << product;
  }
}

TEST(WindowsEnvironment, FailedReadsLeaveTheFlagsFalse) {
  MemoryRegistry registry;
  SeedProductName(registry, "Windows 8 Pro");
  SeedProcessorArchitecture(registry, "AMD64");
  registry.FailOn(MemoryRegistry::Op::Query, Root::LocalMachine,
                  "Software\\Microsoft\\Windows NT\\CurrentVersion", kAccessDenied);
  registry.FailOn(MemoryRegistry::Op::Open, Root::LocalMachine,
                  "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment",
                  kAccessDenied);
  EXPECT_FALSE(ReadIsWindows8(registry));
  EXPECT_FALSE(ReadIs64BitWindows(registry));
}

// Both are machine-wide values of the 64-bit view, which a 32-bit program's own view of
// HKLM\Software would not show on 64-bit Windows.
TEST(WindowsEnvironment, ProductNameIsReadFromThe64BitBranch) {
  MemoryRegistry registry(MemoryRegistry::Windows::Bits64);
  registry.Key(Root::LocalMachine, "Software\\Wow6432Node\\Microsoft\\Windows NT\\CurrentVersion")
      .String("ProductName", "Windows 8 Pro");
  EXPECT_FALSE(ReadIsWindows8(registry));
}

}  // namespace
}  // namespace tarnwell

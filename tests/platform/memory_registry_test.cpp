#include "fakes/memory_registry.h"

#include <gmock/gmock.h>

#include "platform/registry_contract.h"

namespace tarnwell {
namespace {

using testing::ElementsAre;

class MemoryUnderTest final : public RegistryUnderTest {
 public:
  explicit MemoryUnderTest(MemoryRegistry::Windows windows) : registry_(windows) {}
  ~MemoryUnderTest() override { EXPECT_EQ(0u, registry_.OpenHandles()) << "a key was left open"; }
  Registry& Get() override { return registry_; }
  bool Windows64() const override {
    return registry_.WindowsBitness() == MemoryRegistry::Windows::Bits64;
  }

 private:
  MemoryRegistry registry_;
};

INSTANTIATE_TEST_SUITE_P(Memory, RegistryContract,
                         testing::Values(RegistryKind{"Windows64",
                                                      [] {
                                                        return std::make_unique<MemoryUnderTest>(
                                                            MemoryRegistry::Windows::Bits64);
                                                      }},
                                         RegistryKind{"Windows32",
                                                      [] {
                                                        return std::make_unique<MemoryUnderTest>(
                                                            MemoryRegistry::Windows::Bits32);
                                                      }}),
                         RegistryKindName);

constexpr const char* kOutlook = "Software\\Microsoft\\Office\\14.0\\Outlook";

TEST(MemoryRegistry, StoresTheNativeMachineBranchUnderWow6432NodeOn64BitWindows) {
  MemoryRegistry registry;
  RegKey key;
  ASSERT_EQ(kSuccess, key.Create(registry, Root::LocalMachine, kOutlook, Rights::Write,
                                 RegistryView::NativeView));
  EXPECT_TRUE(registry.HasKey(Root::LocalMachine, "Software\\Wow6432Node\\Microsoft\\Office"));
  EXPECT_FALSE(registry.HasKey(Root::LocalMachine, "Software\\Microsoft"));

  key.Close();
  MemoryRegistry windows32(MemoryRegistry::Windows::Bits32);
  RegKey key32;
  ASSERT_EQ(kSuccess, key32.Create(windows32, Root::LocalMachine, kOutlook, Rights::Write,
                                   RegistryView::NativeView));
  EXPECT_TRUE(windows32.HasKey(Root::LocalMachine, kOutlook));
}

TEST(MemoryRegistry, JournalsWritesInOrder) {
  Journal journal;
  MemoryRegistry registry(MemoryRegistry::Windows::Bits64, &journal);
  registry.Key(Root::CurrentUser, "Software\\Microsoft");  // seeding is not journalled
  RegKey key;
  ASSERT_EQ(kSuccess, key.Create(registry, Root::CurrentUser, "Software\\Microsoft\\Office\\X",
                                 Rights::Write, RegistryView::NativeView));
  ASSERT_EQ(kSuccess, key.SetString("Path", "C:\\Mail\\"));
  ASSERT_EQ(kSuccess, key.SetDword("DisablePST", 1));
  ASSERT_EQ(kSuccess, key.SetString("Empty", ""));
  RegKey parent;
  ASSERT_EQ(kSuccess, parent.Open(registry, Root::CurrentUser, "Software\\Microsoft\\Office",
                                  Rights::Write, RegistryView::View64));
  key.Close();
  ASSERT_EQ(kSuccess, parent.DeleteSubKey("X"));

  EXPECT_THAT(journal.Entries(),
              ElementsAre("create HKCU\\Software\\Microsoft\\Office",
                          "create HKCU\\Software\\Microsoft\\Office\\X",
                          "set HKCU\\Software\\Microsoft\\Office\\X Path REG_SZ \"C:\\Mail\\\"",
                          "set HKCU\\Software\\Microsoft\\Office\\X DisablePST REG_DWORD 1",
                          "set HKCU\\Software\\Microsoft\\Office\\X Empty REG_SZ \"\"",
                          "delete HKCU\\Software\\Microsoft\\Office\\X"));
}

TEST(MemoryRegistry, RefusedFullAccessStillAllowsReading) {
  MemoryRegistry registry;
  registry.Key(Root::LocalMachine, "Software\\Wow6432Node\\Locked").RefuseAccess(Rights::Full);
  RegKey key;
  EXPECT_EQ(kAccessDenied, key.Open(registry, Root::LocalMachine, "Software\\Locked", Rights::Full,
                                    RegistryView::NativeView));
  EXPECT_EQ(kSuccess, key.Open(registry, Root::LocalMachine, "Software\\Locked", Rights::Read,
                               RegistryView::NativeView));
  EXPECT_EQ(kSuccess, key.Open(registry, Root::LocalMachine, "Software\\Locked", Rights::Write,
                               RegistryView::NativeView));

  registry.Key(Root::CurrentUser, "ReadOnly").RefuseAccess(Rights::Write);
  EXPECT_EQ(kAccessDenied, key.Create(registry, Root::CurrentUser, "ReadOnly", Rights::Write,
                                      RegistryView::NativeView));
  EXPECT_EQ(kAccessDenied, key.Open(registry, Root::CurrentUser, "ReadOnly", Rights::Full,
                                    RegistryView::NativeView));
  EXPECT_EQ(kSuccess, key.Open(registry, Root::CurrentUser, "ReadOnly", Rights::Read,
                               RegistryView::NativeView));
}

TEST(MemoryRegistry, InjectedFaultsHitTheChosenCallOnly) {
  Journal journal;
  MemoryRegistry registry(MemoryRegistry::Windows::Bits64, &journal);
  registry.Key(Root::CurrentUser, "Software\\A").String("Name", "a").String("Other", "b");
  registry.FailOn(MemoryRegistry::Op::Query, Root::CurrentUser, "Software\\A", kAccessDenied,
                  "Name");
  registry.FailOn(MemoryRegistry::Op::Set, Root::CurrentUser, "Software\\A", 1009);
  registry.FailOn(MemoryRegistry::Op::Create, Root::CurrentUser, "Software\\B", kAccessDenied);
  registry.FailOn(MemoryRegistry::Op::Open, Root::CurrentUser, "Software\\A\\", kFileNotFound);

  RegKey key;
  EXPECT_EQ(kFileNotFound, key.Open(registry, Root::CurrentUser, "Software\\A", Rights::Read,
                                    RegistryView::NativeView));
  EXPECT_EQ(kAccessDenied, key.Create(registry, Root::CurrentUser, "Software\\B", Rights::Write,
                                      RegistryView::NativeView));
  EXPECT_FALSE(registry.HasKey(Root::CurrentUser, "Software\\B"));
  ASSERT_EQ(kSuccess, key.Create(registry, Root::CurrentUser, "Software\\A", Rights::Write,
                                 RegistryView::NativeView));
  EXPECT_EQ(1009, key.SetString("Name", "x"));

  registry.ClearFaults();
  ASSERT_EQ(kSuccess, key.Open(registry, Root::CurrentUser, "Software\\A", Rights::Read,
                               RegistryView::NativeView));
  RegValue value;
  EXPECT_EQ(kSuccess, key.Query("Name", 257, value));
  EXPECT_TRUE(journal.Entries().empty());
}

TEST(MemoryRegistry, QueryFaultNamesOneValue) {
  MemoryRegistry registry;
  registry.Key(Root::CurrentUser, "Software\\A").String("Name", "a").String("Other", "b");
  registry.FailOn(MemoryRegistry::Op::Query, Root::CurrentUser, "Software\\A", kAccessDenied,
                  "Name");
  RegKey key;
  ASSERT_EQ(kSuccess, key.Open(registry, Root::CurrentUser, "Software\\A", Rights::Read,
                               RegistryView::NativeView));
  RegValue value;
  EXPECT_EQ(kAccessDenied, key.Query("name", 257, value));
  EXPECT_EQ(kSuccess, key.Query("Other", 257, value));
}

TEST(MemoryRegistry, KeyDeletedUnderAnOpenHandleFailsItsReads) {
  MemoryRegistry registry;
  registry.Key(Root::CurrentUser, "Software\\Gone").Dword("N", 1);
  RegKey key;
  ASSERT_EQ(kSuccess, key.Open(registry, Root::CurrentUser, "Software\\Gone", Rights::Read,
                               RegistryView::NativeView));
  registry.DeleteTree(Root::CurrentUser, "Software\\Gone");
  RegValue value;
  EXPECT_EQ(kKeyDeleted, key.Query("N", 4, value));
}

TEST(MemoryRegistry, NamesIgnoreCaseButKeepTheirSpelling) {
  MemoryRegistry registry;
  registry.Key(Root::CurrentUser, "Software\\Microsoft\\Office").Dword("DisablePST", 1);
  registry.Key(Root::CurrentUser, "SOFTWARE\\microsoft\\OFFICE\\Outlook");
  EXPECT_THAT(registry.ValueNames(Root::CurrentUser, "software\\MICROSOFT\\office"),
              ElementsAre("DisablePST"));
  RegKey key;
  ASSERT_EQ(kSuccess, key.Open(registry, Root::CurrentUser, "software\\microsoft", Rights::Read,
                               RegistryView::NativeView));
  std::string name;
  ASSERT_EQ(kSuccess, key.EnumKey(0, 256, name));
  EXPECT_EQ("Office", name);
}

}  // namespace
}  // namespace tarnwell

// The in-memory registry runs the contract on both kinds of Windows; here also the key
// object's use of rights, which only the in-memory registry can refuse.
#include "fakes/memory_registry.h"

#include <gtest/gtest.h>

#include "platform/registry_contract.h"
#include "platform/registry_object.h"

namespace tarnwell {
namespace {

using Windows = MemoryRegistry::Windows;

class MemoryUnderTest final : public RegistryUnderTest {
 public:
  explicit MemoryUnderTest(Windows windows) : registry_(windows) {}
  ~MemoryUnderTest() override { EXPECT_EQ(0u, registry_.OpenHandles()) << "a key was left open"; }
  Registry& Get() override { return registry_; }
  bool Windows64() const override { return registry_.WindowsBitness() == Windows::Bits64; }

 private:
  MemoryRegistry registry_;
};

template <Windows kWindows>
std::unique_ptr<RegistryUnderTest> MakeMemory() {
  return std::make_unique<MemoryUnderTest>(kWindows);
}

INSTANTIATE_TEST_SUITE_P(Memory, RegistryContract,
                         testing::Values(RegistryKind{"Windows64", MakeMemory<Windows::Bits64>},
                                         RegistryKind{"Windows32", MakeMemory<Windows::Bits32>}),
                         RegistryKindName);

// Settings loading relies on this: a key that refuses full access is invisible to
// CanOpenKey until an open for reading has lowered the object's right.
TEST(RegistryObject, CanOpenKeyUsesTheRightOfTheLastOpen) {
  MemoryRegistry registry;
  registry.Key(Root::CurrentUser, "Software\\Office").RefuseAccess(Rights::Full);
  registry.Key(Root::LocalMachine, "").String("AtRoot", "yes");
  RegistryObject object(registry);
  EXPECT_FALSE(object.CanOpenKey("\\Software\\Office"));
  ASSERT_TRUE(object.OpenKeyForRead("\\Software"));
  object.CloseKey();
  EXPECT_TRUE(object.CanOpenKey("\\Software\\Office"));
  object.SetRootKey(Root::LocalMachine);
  EXPECT_EQ("yes", object.ReadString("AtRoot"));  // no key open: the root's values
  ASSERT_TRUE(object.OpenKeyForRead("\\"));
  object.SetRootKey(Root::CurrentUser);  // closes the current key
  EXPECT_EQ("", object.CurrentPath());
  EXPECT_EQ("", object.ReadString("AtRoot"));
  EXPECT_EQ(0u, registry.OpenHandles());
}

}  // namespace
}  // namespace tarnwell

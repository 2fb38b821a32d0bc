// The in-memory registry runs the contract on both kinds of Windows; here also the key
// object's use of rights, which only the in-memory registry can refuse.
#include "fakes/memory_registry.h"

#include <gtest/gtest.h>

#include "platform/registry_contract.h"
#include "platform/registry_object.h"

namespace tarnwell {
namespace {

using Windows = MemoryRegistry::Windows;

RegistryKind Memory(const char* name, Windows windows) {
  return {name, windows == Windows::Bits64, [windows] {
            auto memory = std::make_shared<MemoryRegistry>(windows);
            return std::shared_ptr<Registry>(memory.get(), [memory](Registry*) {
              EXPECT_EQ(0u, memory->OpenHandles()) << "a key was left open";
            });
          }};
}

INSTANTIATE_TEST_SUITE_P(Memory, RegistryContract,
                         testing::Values(Memory("Windows64", Windows::Bits64),
                                         Memory("Windows32", Windows::Bits32)),
                         RegistryKindName);

// A key refusing full access is invisible to CanOpenKey until an open for reading has
// lowered the object's right; with no key open, values are the root's.
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
  EXPECT_EQ("yes", object.ReadString("AtRoot"));
  ASSERT_TRUE(object.OpenKeyForRead("\\"));
  object.SetRootKey(Root::CurrentUser);  // closes the current key
  EXPECT_EQ("", object.CurrentPath());
  EXPECT_EQ("", object.ReadString("AtRoot"));
  EXPECT_EQ(0u, registry.OpenHandles());
}

}  // namespace
}  // namespace tarnwell

#include "platform/registry_object.h"

#include <gtest/gtest.h>

#include "fakes/memory_registry.h"

namespace tarnwell {
namespace {

// Settings loading relies on this: a key that refuses full access is invisible to
// CanOpenKey until an open for reading has lowered the object's right.
TEST(RegistryObject, CanOpenKeyUsesTheRightOfTheLastOpen) {
  MemoryRegistry registry;
  registry.Key(Root::CurrentUser, "Software\\Office\\Outlook");
  registry.Key(Root::CurrentUser, "Software\\Office\\Outlook\\Security").RefuseAccess(Rights::Full);
  RegistryObject object(registry);
  EXPECT_FALSE(object.CanOpenKey("\\Software\\Office\\Outlook\\Security"));
  ASSERT_TRUE(object.OpenKeyForRead("\\Software\\Office\\Outlook"));
  object.CloseKey();
  EXPECT_TRUE(object.CanOpenKey("\\Software\\Office\\Outlook\\Security"));
  EXPECT_EQ(0u, registry.OpenHandles());
}

TEST(RegistryObject, ReadsAddressTheRootWhenNoKeyIsOpen) {
  MemoryRegistry registry;
  registry.Key(Root::LocalMachine, "").String("AtRoot", "yes");
  RegistryObject object(registry);
  object.SetRootKey(Root::LocalMachine);
  EXPECT_EQ("yes", object.ReadString("AtRoot"));
  ASSERT_TRUE(object.OpenKeyForRead("\\"));
  object.SetRootKey(Root::CurrentUser);  // closes the current key
  EXPECT_EQ("", object.CurrentPath());
  EXPECT_EQ("", object.ReadString("AtRoot"));
}

}  // namespace
}  // namespace tarnwell

// The in-memory registry runs the contract on both kinds of Windows; the key object on it.
#include "fakes/memory_registry.h"

#include <gmock/gmock.h>

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

// The key object: reads, type errors with the program's messages, paths from the root or the
// current key, and CanOpenKey with the right of the last open (full access may be refused).
TEST(RegistryObject, ReadsPathsAndRights) {
  MemoryRegistry registry;
  registry.Key(Root::CurrentUser, "Software\\Office\\Options");
  registry.Key(Root::CurrentUser, "Software\\Office\\Security");
  registry.Key(Root::CurrentUser, "Software\\Office")
      .RefuseAccess(Rights::Full)
      .String("Level1Remove", std::string(600, 'e'))
      .Dword("DisablePST", 7)
      .String("Short", "1")
      .String("Empty", "");
  registry.Key(Root::LocalMachine, "").String("AtRoot", "yes");
  RegistryObject object(registry);
  EXPECT_EQ(Rights::Full, object.CurrentRights());
  EXPECT_FALSE(object.CanOpenKey("\\Software\\Office\\"));
  EXPECT_TRUE(object.CanOpenKey("Software"));
  EXPECT_FALSE(object.CanOpenKey("Office"));
  ASSERT_TRUE(object.OpenKeyForRead("Software"));
  EXPECT_EQ(Rights::Read, object.CurrentRights());
  ASSERT_TRUE(object.OpenKeyForRead("Office"));
  EXPECT_TRUE(object.CanOpenKey("Security"));
  EXPECT_FALSE(object.CanOpenKey("\\Security"));
  EXPECT_EQ((std::vector<std::string>{"Options", "Security"}), object.GetKeyNames());
  EXPECT_FALSE(object.OpenKeyForRead("Missing"));
  EXPECT_EQ("Software\\Office", object.CurrentPath());
  EXPECT_EQ(std::string(600, 'e'), object.ReadString("Level1Remove"));
  EXPECT_EQ("", object.ReadString("Missing"));
  EXPECT_EQ(7u, object.ReadInteger("DisablePST"));
  EXPECT_TRUE(object.HasValue("Empty"));
  EXPECT_FALSE(object.HasValue("Missing"));
  const auto fails = [](const char* what) {
    return testing::ThrowsMessage<RegistryError>(testing::StrEq(what));
  };
  EXPECT_THAT([&] { object.ReadString("DisablePST"); },
              fails("Invalid data type for 'DisablePST'"));
  EXPECT_THAT([&] { object.ReadInteger("Missing"); }, fails("Failed to get data for 'Missing'"));
  EXPECT_THAT([&] { object.ReadInteger("Short"); }, fails("Invalid data type for 'Short'"));
  EXPECT_THAT([&] { object.ReadInteger("Level1Remove"); },
              fails("Failed to get data for 'Level1Remove'"));
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

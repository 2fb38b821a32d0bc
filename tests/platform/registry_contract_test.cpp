// The registry's contract: the in-memory model natively, Windows' registry under Wine.
#include "platform/registry_contract.h"

#include <algorithm>

namespace tarnwell {
namespace {

using Names = std::vector<std::string>;
using View = RegistryView;
const std::string kBase = kContractKey;
const std::string kOutlook = kBase + "\\Office\\14.0\\Outlook";
constexpr auto kUser = Root::CurrentUser;
constexpr auto kMachine = Root::LocalMachine;

// Creates the key for writing, or opens it for reading, expecting `status`.
RegKey Key(Registry& r, Root root, const std::string& path, Rights rights,
           View view = View::NativeView, Status status = kSuccess) {
  RegKey key;
  EXPECT_EQ(status, rights == Rights::Write ? key.Create(r, root, path, rights, view)
                                            : key.Open(r, root, path, rights, view))
      << path;
  return key;
}

// Only 64-bit Windows splits HKLM\Software by view, not HKCU; a trailing backslash is the same key.
TEST_P(RegistryContract, ViewsAndPaths) {
  Registry& r = registry();
  const Status split = windows64() ? kFileNotFound : kSuccess;
  const std::string wow = "Software\\Wow6432Node\\TarnwellContract\\";
  Key(r, kMachine, kOutlook, Rights::Write);
  Key(r, kMachine, kBase + "\\Only64", Rights::Write, View::View64);
  Key(r, kMachine, kOutlook, Rights::Read, View::View64, split);
  Key(r, kMachine, kBase + "\\Only64", Rights::Read, View::NativeView, split);
  Key(r, kMachine, wow + "Office\\14.0\\Outlook", Rights::Read, View::View64,
      windows64() ? kSuccess : kFileNotFound);
  Key(r, kMachine, wow + "Only64", Rights::Read, View::View64, kFileNotFound);
  Key(r, kMachine, kOutlook + "\\", Rights::Read);
  Key(r, kMachine, "\\" + kOutlook, Rights::Read, View::NativeView, kBadPathname);
  ASSERT_EQ(kSuccess, Key(r, kUser, kOutlook, Rights::Write).SetString("P", "D:\\Mail\\"));
  EXPECT_EQ("D:\\Mail\\",
            Key(r, kUser, kOutlook, Rights::Read, View::View64).ReadText("P", kShortTextCapacity));
}

// Type and exact size kept; a capacity counts the NUL; a failed read leaves its output alone.
TEST_P(RegistryContract, ValuesAndCapacities) {
  RegKey key = Key(registry(), kUser, kOutlook, Rights::Write);
  ASSERT_EQ(kSuccess, key.SetString("Fits", std::string(256, 'a')));
  ASSERT_EQ(kSuccess, key.SetString("TooLong", std::string(257, 'b')));
  ASSERT_EQ(kSuccess, key.SetString("Empty", ""));
  ASSERT_EQ(kSuccess, key.SetExpandString("Cache", "%TEMP%"));
  ASSERT_EQ(kSuccess, key.SetDword("LoadBehavior", 0x33));  // its bytes read as the text "3"
  ASSERT_EQ(kSuccess, key.Set("Flags", ValueType::Binary, {3, 0, 0, 0}));
  ASSERT_EQ(kSuccess, key.Set("Wide", ValueType::Dword, {3, 0, 0, 0, 0, 0, 0, 0}));
  const RegKey read = Key(registry(), kUser, kOutlook, Rights::Read);

  RegValue value;
  ASSERT_EQ(kSuccess, read.Query("Fits", kShortTextCapacity, value));
  EXPECT_EQ(257u, value.data.size());
  RegValue untouched{ValueType::Binary, {1, 2, 3}};
  EXPECT_EQ(kMoreData, read.Query("TooLong", kShortTextCapacity, untouched));
  EXPECT_EQ(kFileNotFound, read.Query("Missing", kShortTextCapacity, untouched));
  EXPECT_TRUE(untouched.type == ValueType::Binary && untouched.data.size() == 3);
  ValueType type = ValueType::None;
  std::size_t size = 0;
  ASSERT_EQ(kSuccess, read.QueryInfo("Empty", type, size));
  EXPECT_EQ(std::pair(ValueType::String, std::size_t{1}), std::pair(type, size));

  EXPECT_EQ(std::string(256, 'a'), read.ReadText("Fits", kShortTextCapacity));
  EXPECT_EQ("3", read.ReadText("LoadBehavior", kShortTextCapacity));
  EXPECT_EQ(std::nullopt, read.ReadString("LoadBehavior", kShortTextCapacity));
  EXPECT_EQ("%TEMP%", read.ReadString("Cache", kShortTextCapacity));
  EXPECT_EQ(std::nullopt, read.ReadString("TooLong", kShortTextCapacity));
  EXPECT_EQ(std::string(257, 'b'), read.ReadWholeString("TooLong"));
  EXPECT_EQ(std::nullopt, read.ReadWholeString("LoadBehavior"));
  EXPECT_EQ(0x33u, read.ReadDword("LoadBehavior"));
  for (const char* not_a_dword : {"Flags", "Wide", "Missing"}) {
    EXPECT_EQ(std::nullopt, read.ReadDword(not_a_dword)) << not_a_dword;
  }
}

// Writes need write rights; creating makes all levels; a parent key stays; value names ignore case.
TEST_P(RegistryContract, WritesAndDeletions) {
  RegKey key = Key(registry(), kUser, kBase + "\\A\\B\\C", Rights::Write);
  ASSERT_EQ(kSuccess, key.SetDword("DisableBGSave", 1));
  ASSERT_EQ(kSuccess, key.SetDword("DisablePST", 1));
  RegKey read_only = Key(registry(), kUser, kBase + "\\A\\B\\C", Rights::Read);
  EXPECT_EQ(kAccessDenied, read_only.SetDword("Other", 1));
  EXPECT_EQ(kAccessDenied, read_only.DeleteValue("DisableBGSave"));
  EXPECT_EQ(kSuccess, key.DeleteValue("disablebgsave"));
  EXPECT_EQ(kFileNotFound, key.DeleteValue("DisableBGSave"));
  EXPECT_EQ(Names{"DisablePST"}, read_only.ValueNames(256, 256));

  RegKey a = Key(registry(), kUser, kBase + "\\A", Rights::Write, View::View64), b;
  EXPECT_NE(kSuccess, a.DeleteSubKey("B"));
  ASSERT_EQ(kSuccess, a.OpenSubKey("B", Rights::Write, b));
  EXPECT_EQ(kSuccess, b.DeleteSubKey("C"));
  Key(registry(), kUser, kBase + "\\A\\B\\C", Rights::Read, View::NativeView, kFileNotFound);
  EXPECT_EQ(kFileNotFound, b.DeleteSubKey("C"));
}

// Sub-keys in name order, values once each; a value listing stops at the first entry too big.
TEST_P(RegistryContract, Listings) {
  const std::string parent = kBase + "\\Places";
  for (const char* name : {"zeta", "Longer", "a"}) {
    Key(registry(), kUser, parent + "\\" + name, Rights::Write);
  }
  RegKey key = Key(registry(), kUser, parent, Rights::Write);
  ASSERT_EQ(kSuccess, key.SetString("b", "1"));
  ASSERT_EQ(kSuccess, key.SetString("a", "1"));
  const RegKey read = Key(registry(), kUser, parent, Rights::Read, View::View64);
  EXPECT_EQ((Names{"a", "Longer", "zeta"}), read.SubKeyNames(kKeyNameCapacity, IndexFailure::Stop));
  EXPECT_EQ((Names{"a", "zeta"}), read.SubKeyNames(5, IndexFailure::Skip));
  EXPECT_EQ((Names{"a"}), read.SubKeyNames(5, IndexFailure::Stop));
  Names values = read.ValueNames(kValueEntryCapacity, kValueEntryCapacity);
  std::sort(values.begin(), values.end());
  EXPECT_EQ((Names{"a", "b"}), values);

  ASSERT_EQ(kSuccess, key.SetString("c", std::string(kValueEntryCapacity, 'x')));
  EXPECT_EQ(2u, read.ValueNames(kValueEntryCapacity, kValueEntryCapacity).size());
}

}  // namespace
}  // namespace tarnwell

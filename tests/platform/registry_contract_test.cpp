// The registry's contract: what the program relies on from Windows, checked against the
// in-memory model natively and against Windows' registry under Wine.
#include "platform/registry_contract.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/registry_object.h"

namespace tarnwell {
namespace {

const std::string kBase = kContractKey;
const std::string kOutlook = kBase + "\\Office\\14.0\\Outlook";

RegKey CreateKey(Registry& registry, Root root, const std::string& path,
                 RegistryView view = RegistryView::NativeView) {
  RegKey key;
  EXPECT_EQ(kSuccess, key.Create(registry, root, path, Rights::Write, view)) << path;
  return key;
}

Status OpenStatus(Registry& registry, Root root, const std::string& path, RegistryView view,
                  Rights rights = Rights::Read) {
  RegKey key;
  return key.Open(registry, root, path, rights, view);
}

TEST_P(RegistryContract, MachineSoftwareKeysAreSplitByViewOnlyOn64BitWindows) {
  CreateKey(registry(), Root::LocalMachine, kOutlook, RegistryView::NativeView);
  const Status seen_from_64 =
      OpenStatus(registry(), Root::LocalMachine, kOutlook, RegistryView::View64);
  EXPECT_EQ(windows64() ? kFileNotFound : kSuccess, seen_from_64);

  const std::string other = kBase + "\\Only64";
  CreateKey(registry(), Root::LocalMachine, other, RegistryView::View64);
  EXPECT_EQ(windows64() ? kFileNotFound : kSuccess,
            OpenStatus(registry(), Root::LocalMachine, other, RegistryView::NativeView));
  EXPECT_EQ(kSuccess, OpenStatus(registry(), Root::LocalMachine, other, RegistryView::View64));
}

TEST_P(RegistryContract, CurrentUserIsSharedByBothViews) {
  RegKey written = CreateKey(registry(), Root::CurrentUser, kOutlook, RegistryView::NativeView);
  ASSERT_EQ(kSuccess, written.SetString("ForcePSTPath", "D:\\Mail\\"));

  RegKey read;
  ASSERT_EQ(kSuccess,
            read.Open(registry(), Root::CurrentUser, kOutlook, Rights::Read, RegistryView::View64));
  RegValue value;
  ASSERT_EQ(kSuccess, read.Query("ForcePSTPath", 257, value));
  EXPECT_EQ("D:\\Mail\\", value.TextUpToNul());
}

TEST_P(RegistryContract, TrailingBackslashNamesTheSameKey) {
  RegKey written = CreateKey(registry(), Root::LocalMachine, kOutlook);
  ASSERT_EQ(kSuccess, written.SetString("Bitness", "x86"));

  RegKey read;
  ASSERT_EQ(kSuccess, read.Open(registry(), Root::LocalMachine, kOutlook + "\\", Rights::Read,
                                RegistryView::NativeView));
  RegValue value;
  ASSERT_EQ(kSuccess, read.Query("Bitness", 2001, value));
  EXPECT_EQ("x86", value.TextUpToNul());
  EXPECT_EQ(kBadPathname,
            OpenStatus(registry(), Root::LocalMachine, "\\" + kOutlook, RegistryView::NativeView));
}

TEST_P(RegistryContract, TextCapacityCountsTheNulAndRefusesWhatDoesNotFit) {
  RegKey key = CreateKey(registry(), Root::CurrentUser, kOutlook);
  ASSERT_EQ(kSuccess, key.SetString("Fits", std::string(256, 'a')));
  ASSERT_EQ(kSuccess, key.SetString("TooLong", std::string(257, 'b')));
  RegKey read;
  ASSERT_EQ(kSuccess, read.Open(registry(), Root::CurrentUser, kOutlook, Rights::Read,
                                RegistryView::NativeView));

  RegValue value;
  ASSERT_EQ(kSuccess, read.Query("Fits", 257, value));
  EXPECT_EQ(std::string(256, 'a'), value.TextUpToNul());
  EXPECT_EQ(257u, value.data.size());

  RegValue untouched{ValueType::Binary, {1, 2, 3}};
  EXPECT_EQ(kMoreData, read.Query("TooLong", 257, untouched));
  EXPECT_EQ(kFileNotFound, read.Query("Missing", 257, untouched));
  EXPECT_EQ(ValueType::Binary, untouched.type);
  EXPECT_EQ((std::vector<std::uint8_t>{1, 2, 3}), untouched.data);

  RegValue whole;
  ASSERT_EQ(kSuccess, read.QueryWhole("TooLong", whole));
  EXPECT_EQ(std::string(257, 'b'), whole.TextUpToNul());
}

TEST_P(RegistryContract, ValuesKeepTheirTypeAndExactSize) {
  RegKey key = CreateKey(registry(), Root::CurrentUser, kOutlook);
  ASSERT_EQ(kSuccess, key.SetString("Empty", ""));
  ASSERT_EQ(kSuccess, key.SetExpandString("Cache", "%TEMP%\\Cache"));
  ASSERT_EQ(kSuccess, key.SetDword("DisablePST", 1));
  ASSERT_EQ(kSuccess, key.SetString("Word", "abcdefg"));
  RegKey read;
  ASSERT_EQ(kSuccess, read.Open(registry(), Root::CurrentUser, kOutlook, Rights::Read,
                                RegistryView::NativeView));

  ValueType type = ValueType::None;
  std::size_t size = 0;
  ASSERT_EQ(kSuccess, read.QueryInfo("Empty", type, size));
  EXPECT_EQ(ValueType::String, type);
  EXPECT_EQ(1u, size);

  RegValue value;
  ASSERT_EQ(kSuccess, read.Query("Cache", 257, value));
  EXPECT_EQ(ValueType::ExpandString, value.type);
  EXPECT_EQ("%TEMP%\\Cache", value.TextUpToNul());

  ASSERT_EQ(kSuccess, read.Query("DisablePST", 4, value));
  EXPECT_EQ(ValueType::Dword, value.type);
  EXPECT_EQ(4u, value.data.size());
  EXPECT_EQ(1u, value.Number());

  EXPECT_EQ(kMoreData, read.Query("Word", 4, value));
}

TEST_P(RegistryContract, WritesNeedWriteRights) {
  CreateKey(registry(), Root::CurrentUser, kOutlook);
  RegKey read_only;
  ASSERT_EQ(kSuccess, read_only.Open(registry(), Root::CurrentUser, kOutlook, Rights::Read,
                                     RegistryView::NativeView));
  EXPECT_EQ(kAccessDenied, read_only.SetDword("DisableBGSave", 1));
  RegValue value;
  EXPECT_EQ(kFileNotFound, read_only.Query("DisableBGSave", 4, value));
}

TEST_P(RegistryContract, CreateMakesEveryMissingLevelAndDeleteRemovesALeaf) {
  const std::string deep = kBase + "\\A\\B\\C";
  CreateKey(registry(), Root::CurrentUser, deep);
  EXPECT_EQ(kSuccess,
            OpenStatus(registry(), Root::CurrentUser, kBase + "\\A\\B", RegistryView::NativeView));

  RegKey parent;
  ASSERT_EQ(kSuccess, parent.Open(registry(), Root::CurrentUser, kBase + "\\A", Rights::Write,
                                  RegistryView::View64));
  EXPECT_NE(kSuccess, parent.DeleteSubKey("B"));  // it still has a sub-key
  RegKey b;
  ASSERT_EQ(kSuccess, parent.OpenSubKey("B", Rights::Write, b));
  EXPECT_EQ(kSuccess, b.DeleteSubKey("C"));
  EXPECT_EQ(kFileNotFound,
            OpenStatus(registry(), Root::CurrentUser, deep, RegistryView::NativeView));
  EXPECT_EQ(kFileNotFound, b.DeleteSubKey("C"));
}

// A deletion removes only the value named, in any letter case, and needs write rights.
TEST_P(RegistryContract, DeleteValueRemovesOneValueOnlyWithWriteRights) {
  RegKey key = CreateKey(registry(), Root::CurrentUser, kOutlook);
  ASSERT_EQ(kSuccess, key.SetDword("DisableBGSave", 1));
  ASSERT_EQ(kSuccess, key.SetDword("DisablePST", 1));
  RegKey read_only;
  ASSERT_EQ(kSuccess, read_only.Open(registry(), Root::CurrentUser, kOutlook, Rights::Read,
                                     RegistryView::NativeView));
  EXPECT_EQ(kAccessDenied, read_only.DeleteValue("DisableBGSave"));
  EXPECT_EQ(kSuccess, key.DeleteValue("disablebgsave"));
  EXPECT_EQ(kFileNotFound, key.DeleteValue("DisableBGSave"));
  EXPECT_EQ((std::vector<std::string>{"DisablePST"}), read_only.ValueNames(256, 256));
}

TEST_P(RegistryContract, SubKeysEnumerateInNameOrderAndValuesAllOnce) {
  RegKey key = CreateKey(registry(), Root::CurrentUser, kBase + "\\Addins");
  for (const char* name : {"zeta.Connect", "Alpha.Addin", "mid.addin"}) {
    RegKey sub;
    ASSERT_EQ(kSuccess, sub.Create(registry(), Root::CurrentUser, kBase + "\\Addins\\" + name,
                                   Rights::Write, RegistryView::NativeView));
  }
  ASSERT_EQ(kSuccess, key.SetString("b", "2"));
  ASSERT_EQ(kSuccess, key.SetString("a", "1"));

  RegKey read;
  ASSERT_EQ(kSuccess, read.Open(registry(), Root::CurrentUser, kBase + "\\Addins", Rights::Read,
                                RegistryView::View64));
  std::uint32_t count = 0;
  ASSERT_EQ(kSuccess, read.SubKeyCount(count));
  ASSERT_EQ(3u, count);
  std::vector<std::string> names;
  for (std::uint32_t i = 0; i < count; ++i) {
    std::string name;
    ASSERT_EQ(kSuccess, read.EnumKey(i, 261, name));
    names.push_back(name);
  }
  EXPECT_EQ((std::vector<std::string>{"Alpha.Addin", "mid.addin", "zeta.Connect"}), names);
  std::string name;
  EXPECT_EQ(kNoMoreItems, read.EnumKey(3, 261, name));
  EXPECT_EQ(kMoreData, read.EnumKey(0, 5, name));

  std::vector<std::string> values;
  for (std::uint32_t i = 0;; ++i) {
    std::string value_name;
    Status status = read.EnumValue(i, 256, 256, value_name);
    if (status != kSuccess) {
      EXPECT_EQ(kNoMoreItems, status);
      break;
    }
    values.push_back(value_name);
  }
  std::sort(values.begin(), values.end());
  EXPECT_EQ((std::vector<std::string>{"a", "b"}), values);
}

TEST_P(RegistryContract, ValueEnumerationStopsAtDataTooLargeForItsBuffer) {
  RegKey key = CreateKey(registry(), Root::CurrentUser, kBase + "\\Shared");
  ASSERT_EQ(kSuccess, key.SetString("Big", std::string(300, 'x')));
  RegKey read;
  ASSERT_EQ(kSuccess, read.Open(registry(), Root::CurrentUser, kBase + "\\Shared", Rights::Read,
                                RegistryView::NativeView));
  std::string name;
  EXPECT_EQ(kMoreData, read.EnumValue(0, 256, 256, name));
}

// A typed read gives nothing rather than a text cut short or a number from other bytes.
TEST_P(RegistryContract, TypedReadsRefuseOtherTypesAndWhatDoesNotFit) {
  RegKey key = CreateKey(registry(), Root::CurrentUser, kOutlook);
  ASSERT_EQ(kSuccess, key.SetString("TooLong", std::string(kShortTextCapacity, 'b')));
  ASSERT_EQ(kSuccess, key.SetExpandString("Cache", "%TEMP%"));
  ASSERT_EQ(kSuccess, key.SetDword("LoadBehavior", 0x33));  // its bytes read as the text "3"
  ASSERT_EQ(kSuccess, key.SetString("Short", "3"));
  ASSERT_EQ(kSuccess, key.Set("Flags", ValueType::Binary, {3, 0, 0, 0}));
  ASSERT_EQ(kSuccess, key.Set("Wide", ValueType::Dword, {3, 0, 0, 0, 0, 0, 0, 0}));
  RegKey read;
  ASSERT_EQ(kSuccess, read.Open(registry(), Root::CurrentUser, kOutlook, Rights::Read,
                                RegistryView::NativeView));

  EXPECT_EQ("3", read.ReadText("LoadBehavior", kShortTextCapacity));
  EXPECT_EQ(std::nullopt, read.ReadString("LoadBehavior", kShortTextCapacity));
  EXPECT_EQ("%TEMP%", read.ReadString("Cache", kShortTextCapacity));
  EXPECT_EQ(std::nullopt, read.ReadText("TooLong", kShortTextCapacity));
  EXPECT_EQ(std::nullopt, read.ReadString("TooLong", kShortTextCapacity));
  EXPECT_EQ(std::string(kShortTextCapacity, 'b'), read.ReadWholeString("TooLong"));
  EXPECT_EQ(std::nullopt, read.ReadWholeString("LoadBehavior"));
  EXPECT_EQ(std::nullopt, read.ReadText("Missing", kShortTextCapacity));

  EXPECT_EQ(0x33u, read.ReadDword("LoadBehavior"));
  EXPECT_EQ(std::nullopt, read.ReadDword("Short"));
  EXPECT_EQ(std::nullopt, read.ReadDword("Flags"));
  EXPECT_EQ(std::nullopt, read.ReadDword("Wide"));
}

// The add-in and place listings pass over a key name too long for their buffer, the key
// object's ends there; a value listing ends at the first entry that does not fit.
TEST_P(RegistryContract, ListingsSkipOrStopAtANameThatDoesNotFit) {
  const std::string parent = kBase + "\\Places";
  for (const char* name : {"a", "Longer", "z"}) {
    CreateKey(registry(), Root::CurrentUser, parent + "\\" + name);
  }
  RegKey key = CreateKey(registry(), Root::CurrentUser, parent);
  ASSERT_EQ(kSuccess, key.SetString("a", "1"));
  ASSERT_EQ(kSuccess, key.SetString("b", std::string(kValueEntryCapacity, 'x')));
  ASSERT_EQ(kSuccess, key.SetString("c", "3"));
  RegKey read;
  ASSERT_EQ(kSuccess,
            read.Open(registry(), Root::CurrentUser, parent, Rights::Read, RegistryView::View64));

  constexpr std::size_t kFiveBytes = 5;
  EXPECT_EQ((std::vector<std::string>{"a", "z"}), read.SubKeyNames(kFiveBytes, IndexFailure::Skip));
  EXPECT_EQ((std::vector<std::string>{"a"}), read.SubKeyNames(kFiveBytes, IndexFailure::Stop));
  EXPECT_EQ((std::vector<std::string>{"a", "Longer", "z"}),
            read.SubKeyNames(kKeyNameCapacity, IndexFailure::Stop));
  EXPECT_EQ((std::vector<std::string>{"a"}),
            read.ValueNames(kValueEntryCapacity, kValueEntryCapacity));
}

TEST_P(RegistryContract, ObjectReadsTextWholeAndChecksTypes) {
  RegKey key = CreateKey(registry(), Root::CurrentUser, kOutlook);
  ASSERT_EQ(kSuccess, key.SetString("Level1Remove", std::string(600, 'e')));
  ASSERT_EQ(kSuccess, key.SetExpandString("Cache", "%USERPROFILE%\\Cache"));
  ASSERT_EQ(kSuccess, key.SetDword("DisablePST", 7));
  ASSERT_EQ(kSuccess, key.SetString("Short", "1"));
  ASSERT_EQ(kSuccess, key.SetString("Long", "123456"));
  ASSERT_EQ(kSuccess, key.SetString("Empty", ""));

  RegistryObject object(registry());
  ASSERT_TRUE(object.OpenKeyForRead("\\" + kOutlook));
  EXPECT_EQ(std::string(600, 'e'), object.ReadString("Level1Remove"));
  EXPECT_EQ("%USERPROFILE%\\Cache", object.ReadString("Cache"));
  EXPECT_EQ("", object.ReadString("Empty"));
  EXPECT_EQ("", object.ReadString("Missing"));
  EXPECT_EQ(7u, object.ReadInteger("DisablePST"));
  EXPECT_TRUE(object.HasValue("Empty"));
  EXPECT_FALSE(object.HasValue("Missing"));

  auto error_of = [](auto&& read) -> std::string {
    try {
      read();
    } catch (const RegistryError& error) {
      return error.what();
    }
    return "no error";
  };
  EXPECT_EQ("Invalid data type for 'DisablePST'",
            error_of([&] { object.ReadString("DisablePST"); }));
  EXPECT_EQ("Failed to get data for 'Missing'", error_of([&] { object.ReadInteger("Missing"); }));
  EXPECT_EQ("Invalid data type for 'Short'", error_of([&] { object.ReadInteger("Short"); }));
  EXPECT_EQ("Failed to get data for 'Long'", error_of([&] { object.ReadInteger("Long"); }));
}

TEST_P(RegistryContract, ObjectPathsCountFromTheRootOrTheCurrentKey) {
  CreateKey(registry(), Root::LocalMachine, kOutlook + "\\Security");
  CreateKey(registry(), Root::LocalMachine, kOutlook + "\\Options");

  RegistryObject object(registry());
  object.SetRootKey(Root::LocalMachine);
  EXPECT_EQ(Rights::Full, object.CurrentRights());
  EXPECT_TRUE(object.CanOpenKey("\\" + kOutlook));
  EXPECT_TRUE(object.CanOpenKey("\\" + kOutlook + "\\"));
  EXPECT_TRUE(object.CanOpenKey(kOutlook));  // no current key: from the root
  EXPECT_FALSE(object.CanOpenKey("Security"));

  ASSERT_TRUE(object.OpenKeyForRead(kOutlook));
  EXPECT_EQ(Rights::Read, object.CurrentRights());
  EXPECT_TRUE(object.CanOpenKey("Security"));
  EXPECT_FALSE(object.CanOpenKey("\\Security"));
  EXPECT_EQ((std::vector<std::string>{"Options", "Security"}), object.GetKeyNames());
  EXPECT_FALSE(object.OpenKeyForRead("Missing"));
  EXPECT_EQ(kOutlook, object.CurrentPath());
}

}  // namespace
}  // namespace tarnwell

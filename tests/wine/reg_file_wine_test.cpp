// Registry files against Windows' own tools: what the program writes, `reg import` sets
// exactly; what the Registry Editor exports, the program reads as it was set.
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

#include "settings/reg_file.h"
#include "wine/remote_window.h"

namespace tarnwell {
namespace {

constexpr const char* kKey = "Software\\TarnwellRegFile";

RegValue Typed(std::uint32_t type, std::vector<std::uint8_t> data) {
  return {static_cast<ValueType>(type), std::move(data)};
}

// Values of every kind the program backs up; text bytes above 127 that every ANSI code page
// and UTF-16 share.
std::vector<RegFileValue> Values() {
  std::vector<std::uint8_t> binary(100);
  for (std::size_t i = 0; i < binary.size(); ++i) {
    binary[i] = static_cast<std::uint8_t>(i * 7);
  }
  return {{"", Typed(1, StringData("default"))},
          {"Text", Typed(1, StringData("C:\\Mail \"Caf\xe9\" \\\\srv\\\xfc"))},
          {"Expand", Typed(2, StringData("%TEMP%\\x"))},
          {"Binary", Typed(3, binary)},
          {"Number", Typed(4, DwordData(0xdeadbeef))},
          {"Short", Typed(4, {1, 2})},
          {"Multi", Typed(7, {'a', 0, 'b', 0, 0})},
          {"Wide", Typed(11, {1, 2, 3, 4, 5, 6, 7, 8})}};
}

class RegFileWithWindowsTools : public testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, kKey); }
  void TearDown() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
    DeleteFileA(file_.c_str());
  }

  static void Run(const std::string& command) {
    RunningProgram program(command);
    ASSERT_TRUE(program.Started()) << command;
    ASSERT_EQ(0u, program.WaitForExit(30000).value_or(99)) << command;
  }

  // Every value of the key as RegQueryValueExA gives it, in the registry's order.
  static std::vector<RegFileValue> ValuesOf(const std::string& path) {
    std::vector<RegFileValue> values;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
      return values;
    }
    char name[256];
    for (DWORD i = 0, size = sizeof(name), type = 0, bytes = 0;
         RegEnumValueA(key, i, name, &size, nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS;
         ++i, size = sizeof(name)) {
      RegValue value = Typed(type, std::vector<std::uint8_t>(bytes));
      EXPECT_EQ(ERROR_SUCCESS,
                RegQueryValueExA(key, name, nullptr, &type, value.data.data(), &bytes));
      value.data.resize(bytes);
      values.push_back({name, std::move(value)});
    }
    RegCloseKey(key);
    return values;
  }

  // The values in name order, as registry-file text: a difference reads as one.
  static std::string Listed(std::vector<RegFileValue> values) {
    std::sort(values.begin(), values.end(), [](const auto& a, const auto& b) {
      return lstrcmpiA(a.name.c_str(), b.name.c_str()) < 0;
    });
    return WriteRegFile({{Root::CurrentUser, kKey, std::move(values)}}, "");
  }

  std::string file_ = [] {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + "tarnwell-reg-file-test.reg";
  }();
};

TEST_F(RegFileWithWindowsTools, RegImportSetsExactlyWhatWasWritten) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE,
                                           nullptr, &key, nullptr));
  RegSetValueExA(key, "Gone", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
  RegCloseKey(key);
  auto values = Values();
  auto written = values;
  written.push_back({"Gone", std::nullopt});
  std::ofstream(file_, std::ios::binary)
      << WriteRegFile({{Root::CurrentUser, kKey, written}}, "written by Tarnwell's test");
  Run("reg.exe import \"" + file_ + "\" /reg:64");
  EXPECT_EQ(Listed(values), Listed(ValuesOf(kKey)));
}

TEST_F(RegFileWithWindowsTools, RegistryEditorExportReadsAsItWasSet) {
  const std::string path = std::string(kKey) + "\\Export";
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                           KEY_WRITE, nullptr, &key, nullptr));
  // Wine's Registry Editor exports a DWORD of another size than four bytes as "dword:" with
  // stray bytes of its own, so that one is left out here.
  auto values = Values();
  std::erase_if(values, [](const RegFileValue& entry) { return entry.name == "Short"; });
  for (const auto& entry : values) {
    RegSetValueExA(key, entry.name.c_str(), 0, static_cast<DWORD>(entry.value->type),
                   entry.value->data.data(), static_cast<DWORD>(entry.value->data.size()));
  }
  RegCloseKey(key);
  Run("regedit.exe /e \"" + file_ + "\" \"HKEY_CURRENT_USER\\" + path + "\"");
  std::ifstream in(file_, std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                        std::istreambuf_iterator<char>()};
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(0xFF, bytes[0]);  // UTF-16, as the editor writes it
  auto read = ReadRegFile(bytes);
  ASSERT_TRUE(std::holds_alternative<std::vector<RegFileKey>>(read))
      << std::get<RegFileError>(read).line << ": " << std::get<RegFileError>(read).text;
  const auto& keys = std::get<std::vector<RegFileKey>>(read);
  ASSERT_EQ(1u, keys.size());
  EXPECT_EQ(path, keys[0].path);
  EXPECT_EQ(Listed(values), Listed(keys[0].values));
}

}  // namespace
}  // namespace tarnwell

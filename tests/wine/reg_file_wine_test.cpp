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

const std::string kKey = "Software\\TarnwellRegFile";
const std::string kFile = "C:\\windows\\temp\\tarnwell-reg-file-test.reg";

RegFileValue Value(std::string name, std::uint32_t type, std::vector<std::uint8_t> data) {
  return {std::move(name), RegValue{static_cast<ValueType>(type), std::move(data)}};
}

// Every kind the program backs up; text bytes above 127 that ANSI and UTF-16 share.
const std::vector<RegFileValue> kValues = {
    Value("", 1, StringData("default")),
    Value("Text", 1, StringData("C:\\Mail \"Caf\xe9\" \\\\srv\\\xfc")),
    Value("Expand", 2, StringData("%TEMP%\\x")),
    Value("Binary", 3, std::vector<std::uint8_t>(100, 0xa5)),
    Value("Number", 4, DwordData(0xdeadbeef)),
    Value("Multi", 7, {'a', 0, 'b', 0, 0}),
    Value("Wide", 11, {1, 2, 3, 4, 5, 6, 7, 8}),
};

void RunToEnd(const std::string& command) {
  RunningProgram program(command);
  ASSERT_TRUE(program.Started()) << command;
  ASSERT_EQ(0u, program.WaitForExit(30000).value_or(99)) << command;
}

// The key's values in name order, as registry-file text: a difference reads as one.
std::string Listed(const std::string& path, std::vector<RegFileValue> values) {
  std::sort(values.begin(), values.end(), [](const auto& a, const auto& b) {
    return lstrcmpiA(a.name.c_str(), b.name.c_str()) < 0;
  });
  return WriteRegFile({{Root::CurrentUser, path, std::move(values)}}, "");
}

class RegFileWithWindowsTools : public testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, kKey.c_str());
    RegCreateKeyExA(HKEY_CURRENT_USER, kKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                    nullptr);
  }
  void TearDown() override {
    RegCloseKey(key_);
    RegDeleteTreeA(HKEY_CURRENT_USER, kKey.c_str());
  }
  HKEY key_ = nullptr;
};

TEST_F(RegFileWithWindowsTools, RegImportSetsExactlyWhatWasWritten) {
  RegSetValueExA(key_, "Gone", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
  auto values = kValues;
  values.push_back(Value("Short", 4, {1, 2}));
  auto written = values;
  written.push_back({"Gone", std::nullopt});
  std::ofstream(kFile, std::ios::binary)
      << WriteRegFile({{Root::CurrentUser, kKey, written}}, "Tarnwell's test");
  RunToEnd("reg.exe import " + kFile + " /reg:64");
  std::vector<RegFileValue> imported;
  char name[256];
  for (DWORD i = 0, size = sizeof(name), type = 0, bytes = 0;
       RegEnumValueA(key_, i, name, &size, nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS;
       ++i, size = sizeof(name)) {
    imported.push_back(Value(name, type, std::vector<std::uint8_t>(bytes)));
    auto& data = imported.back().value->data;
    RegQueryValueExA(key_, name, nullptr, nullptr, data.data(), &bytes);
    data.resize(bytes);
  }
  EXPECT_EQ(Listed(kKey, values), Listed(kKey, imported));
}

// Wine's Registry Editor exports a DWORD of another size than four bytes as "dword:" with
// stray bytes of its own, so that kind is left out here.
TEST_F(RegFileWithWindowsTools, RegistryEditorExportReadsAsItWasSet) {
  for (const auto& entry : kValues) {
    RegSetValueExA(key_, entry.name.c_str(), 0, static_cast<DWORD>(entry.value->type),
                   entry.value->data.data(), static_cast<DWORD>(entry.value->data.size()));
  }
  RunToEnd("regedit.exe /e " + kFile + " HKEY_CURRENT_USER\\" + kKey);
  std::ifstream in(kFile, std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
  ASSERT_TRUE(bytes.size() > 2 && bytes[0] == 0xFF) << "not UTF-16, as the editor writes it";
  const auto read = ReadRegFile(bytes);
  ASSERT_EQ(0u, read.index()) << std::get<RegFileError>(read).text;
  const auto& keys = std::get<0>(read);
  ASSERT_EQ(1u, keys.size());
  EXPECT_EQ(Listed(kKey, kValues), Listed(keys[0].path, keys[0].values));
}

}  // namespace
}  // namespace tarnwell

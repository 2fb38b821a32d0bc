// Registry files: forms written; both formats read as people and the Registry Editor write them.
#include "settings/reg_file.h"

#include <gmock/gmock.h>
#include <variant>

namespace tarnwell {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Keys = std::vector<RegFileKey>;

Bytes Ansi(std::string_view text) {
  return {text.begin(), text.end()};
}

// A UTF-16LE file with its byte-order mark.
Bytes Utf16(std::u16string_view text) {
  Bytes bytes = {0xFF, 0xFE};
  for (char16_t unit : text) {
    bytes.push_back(static_cast<std::uint8_t>(unit));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  return bytes;
}

RegFileValue Value(std::string name, std::uint32_t type, Bytes data) {
  return {std::move(name), RegValue{static_cast<ValueType>(type), std::move(data)}};
}

TEST(RegFile, ReadsFilesOfBothFormats) {
  // clang-format off
  const Keys expected = {{Root::CurrentUser, "Software\\A b",
                          {Value("", 1, StringData("x\\\"\xe9")), Value("N", 4, {0x2a, 0, 0, 0}),
                           Value("E", 2, StringData("%T%")), Value("M", 7, {'a', 0, 'b', 0, 0}),
                           Value("B", 3, {1, 0xab, 0xf}), {"Gone", std::nullopt}}},
                         {Root::LocalMachine, "Software",
                          {Value("Big", 4, {0xff, 0xff, 0xff, 0xff})}}};
  // clang-format on
  // Typed by hand: LF ends, comments, spacing, abbreviations and letter case.
  EXPECT_EQ(expected, std::get<Keys>(ReadRegFile(Ansi(
                          "REGEDIT4\n; saved\n\n[HKCU\\Software\\A b]\n@=\"x\\\\\\\"\xe9\"\n"
                          "\"N\" = DWORD:2a\n\"E\"=hex(2):25,54,25,00\n  \"M\"=hex(7):61,\\\n"
                          "   00,62,00,00\n\"B\"=HEX:1, ab ,0f\n\"Gone\"=-\n\n[hklm\\Software]\n"
                          "\"Big\"=dword:FFFFFFFF"))));
  // As the Registry Editor exports it: UTF-16, texts in hex as UTF-16 too.
  EXPECT_EQ(expected, std::get<Keys>(ReadRegFile(
                          Utf16(u"Windows Registry Editor Version 5.00\r\n\r\n; \u20ac\r\n"
                                u"[HKEY_CURRENT_USER\\Software\\A b]\r\n@=\"x\\\\\\\"\u00e9\"\r\n"
                                u"\"N\"=dword:0000002a\r\n\"E\"=hex(2):25,00,54,00,25,00,00,00\r\n"
                                u"\"M\"=hex(7):61,00,00,00,62,00,00,00,\\\r\n  00,00\r\n"
                                u"\"B\"=hex:01,ab,0f\r\n\"Gone\"=-\r\n\r\n"
                                u"[HKEY_LOCAL_MACHINE\\Software]\r\n\"Big\"=dword:ffffffff\r\n"))));
}

// Refusals at the first fault's line (a continued value's last); reg_file_corpus holds the others.
TEST(RegFile, RefusesBrokenFilesAtTheirFirstFault) {
  const std::string key = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n";
  Bytes huge = Ansi(key);
  huge.resize(2 * kMaxRegFileSize, ';');
  const std::u16string unicode = u"Windows Registry Editor Version 5.00\r\n[HKCU]\r\n";
  const struct {
    Bytes file;
    std::size_t line;
    std::string_view says;
  } rows[] = {
      {Ansi(key + "\"v\"=hex:01,02,\\\r\n"), 4, "past the end"},
      {Ansi(key + "\"v\"=\"abc"), 4, "closing quote"},
      {Ansi(key + "\"v\"=hex:01,\\\r\n  02,\r\n"), 5, "ending in a comma"},
      {Ansi(key + "\"v\"=\"a\\nb\"\r\n"), 4, "backslash"},
      {huge, 0, "larger than 1 MB"},
      {Utf16(u"Windows Registry Editor Version 5.00\r\n[HKCU\\\u0100]"), 2, "ANSI range"},
      {Utf16(unicode + u"\"v\"=hex(1):41,01,00,00"), 3, "ANSI range"},
      {Utf16(unicode + u"\"v\"=hex(2):41,00,00"), 3, "odd number"},
  };
  for (const auto& row : rows) {
    const auto read = ReadRegFile(row.file);
    ASSERT_TRUE(std::holds_alternative<RegFileError>(read)) << row.says;
    EXPECT_EQ(row.line, std::get<RegFileError>(read).line) << row.says;
    EXPECT_THAT(std::get<RegFileError>(read).text, testing::HasSubstr(row.says));
  }
}

}  // namespace
}  // namespace tarnwell

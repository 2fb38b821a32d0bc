// Reading registry files: REGEDIT4 in ANSI, and the Registry Editor's export format in
// UTF-16LE (or in 8 bits, as some editors save it), down to the program's ANSI bytes.
#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

#include "settings/reg_file.h"

namespace tarnwell {
namespace {

constexpr std::string_view kAnsiHeader = "REGEDIT4";
constexpr std::string_view kUnicodeHeader = "Windows Registry Editor Version 5.00";

struct RootSpelling {
  std::string_view name;
  Root root;
};
constexpr std::array<RootSpelling, 4> kRoots = {{
    {"HKEY_CURRENT_USER", Root::CurrentUser},
    {"HKCU", Root::CurrentUser},
    {"HKEY_LOCAL_MACHINE", Root::LocalMachine},
    {"HKLM", Root::LocalMachine},
}};

bool SameLetters(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

bool StartsWithLetters(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && SameLetters(text.substr(0, prefix.size()), prefix);
}

std::string_view TrimLeft(std::string_view text) {
  const std::size_t start = text.find_first_not_of(" \t");
  return start == std::string_view::npos ? std::string_view() : text.substr(start);
}

std::string_view TrimRight(std::string_view text) {
  const std::size_t end = text.find_last_not_of(" \t");
  return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  const int lower = std::tolower(static_cast<unsigned char>(c));
  return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// Up to `max_digits` hex digits from the front of `text`, taken off it; nothing when it
// does not start with a digit.
std::optional<std::uint32_t> TakeHex(std::string_view& text, std::size_t max_digits) {
  std::uint32_t number = 0;
  std::size_t digits = 0;
  while (digits < text.size() && digits < max_digits && HexDigit(text[digits]) >= 0) {
    number = number * 16 + static_cast<std::uint32_t>(HexDigit(text[digits]));
    ++digits;
  }
  if (digits == 0) {
    return std::nullopt;
  }
  text.remove_prefix(digits);
  return number;
}

using Lines = std::vector<std::string>;
using Decoded = std::variant<Lines, RegFileError>;

// The lines of an 8-bit file, without their line ends (LF or CRLF).
Lines AnsiLines(std::span<const std::uint8_t> bytes) {
  Lines lines;
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::size_t start = 0;
  while (start < text.size() || lines.empty()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    std::string_view line = text.substr(start, end - start);
    if (line.ends_with('\r')) {
      line.remove_suffix(1);
    }
    lines.emplace_back(line);
    start = end + 1;
  }
  return lines;
}

// The lines of a UTF-16LE file after its byte-order mark, each character one byte. Comment
// lines may hold any character; they are read as empty.
Decoded WideLines(std::span<const std::uint8_t> bytes) {
  Lines lines(1);
  bool comment_checked = false;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const unsigned unit = bytes[i] | static_cast<unsigned>(bytes[i + 1]) << 8;
    std::string& line = lines.back();
    if (unit == '\n') {
      if (line.ends_with('\r')) {
        line.pop_back();
      }
      lines.emplace_back();
      comment_checked = false;
      continue;
    }
    if (!comment_checked && unit != ' ' && unit != '\t') {
      comment_checked = true;
      if (unit == ';') {
        while (i + 3 < bytes.size() && (bytes[i + 2] != '\n' || bytes[i + 3] != 0)) {
          i += 2;
        }
        continue;
      }
    }
    if (unit > 0xFF) {
      return RegFileError{lines.size(), "a character beyond the ANSI range"};
    }
    line += static_cast<char>(unit);
  }
  if (bytes.size() % 2 != 0) {
    return RegFileError{lines.size(), "the file ends inside a UTF-16 character"};
  }
  if (lines.size() > 1 && lines.back().empty()) {
    lines.pop_back();  // after the last line end
  }
  return lines;
}

Decoded DecodeLines(std::span<const std::uint8_t> bytes) {
  if (bytes.size() > kMaxRegFileSize) {
    return RegFileError{0, "the file is larger than 1 MB"};
  }
  if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    return WideLines(bytes.subspan(2));
  }
  if (bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
    return RegFileError{1, "UTF-16 big-endian files are not read"};
  }
  if (bytes.size() >= 2 && bytes[0] != 0 && bytes[1] == 0) {
    return RegFileError{1, "the file looks like UTF-16 without its byte-order mark"};
  }
  if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
    bytes = bytes.subspan(3);
  }
  return AnsiLines(bytes);
}

// Reads the decoded lines key by key; stops at the first offence.
class Reader {
 public:
  Reader(Lines lines, bool wide_texts) : lines_(std::move(lines)), wide_texts_(wide_texts) {}

  std::variant<std::vector<RegFileKey>, RegFileError> Read() {
    for (index_ = 1; index_ < lines_.size(); ++index_) {
      const std::string_view line = TrimLeft(lines_[index_]);
      if (line.empty() || line.starts_with(';')) {
        continue;
      }
      if (line.find('\0') != std::string_view::npos) {
        return Error("a NUL character");
      }
      const bool read = line.starts_with('[') ? ReadKey(line)
                        : line.starts_with('"') || line.starts_with('@')
                            ? ReadValue(line)
                            : Fail("not a key or a value");
      if (!read) {
        return *error_;
      }
    }
    return std::move(keys_);
  }

 private:
  RegFileError Error(std::string text) const { return {index_ + 1, std::move(text)}; }
  bool Fail(std::string text) {
    error_ = Error(std::move(text));
    return false;
  }

  bool ReadKey(std::string_view line) {
    if (line.starts_with("[-")) {
      return Fail("key deletions are not read");
    }
    const std::size_t close = line.rfind(']');
    if (close == std::string_view::npos || !TrimLeft(line.substr(close + 1)).empty()) {
      return Fail("a key name without its closing bracket");
    }
    const std::string_view name = line.substr(1, close - 1);
    const std::size_t slash = std::min(name.find('\\'), name.size());
    const std::string_view root = name.substr(0, slash);
    const auto known = std::find_if(kRoots.begin(), kRoots.end(), [root](const RootSpelling& r) {
      return SameLetters(r.name, root);
    });
    if (known == kRoots.end()) {
      return Fail("an unknown root key \"" + std::string(root) + "\"");
    }
    keys_.push_back(
        {known->root, std::string(name.substr(std::min(slash + 1, name.size()))), {}, index_ + 1});
    return true;
  }

  bool ReadValue(std::string_view line) {
    if (keys_.empty()) {
      return Fail("a value outside a key");
    }
    RegFileValue entry;
    entry.line = index_ + 1;
    if (line.starts_with('@')) {
      line.remove_prefix(1);
    } else if (!TakeQuoted(line, entry.name)) {
      return false;
    }
    line = TrimLeft(line);
    if (!line.starts_with('=')) {
      return Fail("a value name without \"=\"");
    }
    line = TrimLeft(line.substr(1));
    if (line.starts_with('-')) {
      line.remove_prefix(1);
    } else if (line.starts_with('"')) {
      std::string text;
      if (!TakeQuoted(line, text)) {
        return false;
      }
      entry.value = RegValue{ValueType::String, StringData(text)};
    } else if (StartsWithLetters(line, "dword:")) {
      line.remove_prefix(6);
      const auto number = TakeHex(line, 8);
      if (!number) {
        return Fail("a dword without its hex number");
      }
      entry.value = RegValue{ValueType::Dword, DwordData(*number)};
    } else if (StartsWithLetters(line, "hex")) {
      entry.value.emplace();
      if (!TakeHexValue(line, *entry.value)) {
        return false;
      }
      line = {};
    } else {
      return Fail("a value of no known form");
    }
    if (!TrimRight(line).empty()) {
      return Fail("more after the value: " + std::string(line));
    }
    keys_.back().values.push_back(std::move(entry));
    return true;
  }

  // A quoted text with \\ and \" escaped, taken off the front of `line`.
  bool TakeQuoted(std::string_view& line, std::string& text) {
    for (std::size_t i = 1; i < line.size(); ++i) {
      if (line[i] == '"') {
        line.remove_prefix(i + 1);
        return true;
      }
      if (line[i] == '\\') {
        if (++i == line.size() || (line[i] != '\\' && line[i] != '"')) {
          return Fail("a backslash not followed by \\ or \" in quoted text");
        }
      }
      text += line[i];
    }
    return Fail("quoted text without its closing quote");
  }

  // "hex:" or "hex(N):" and a list of bytes, which may go on over lines ending in ",\".
  bool TakeHexValue(std::string_view line, RegValue& value) {
    const std::size_t first_line = index_;
    line.remove_prefix(3);
    std::uint32_t type = static_cast<std::uint32_t>(ValueType::Binary);
    if (line.starts_with('(')) {
      line.remove_prefix(1);
      const auto number = TakeHex(line, 8);
      if (!number || !line.starts_with(')')) {
        return Fail("a value type that is not hex(N)");
      }
      type = *number;
      line.remove_prefix(1);
    }
    if (!line.starts_with(':')) {
      return Fail("a hex value without \":\"");
    }
    line.remove_prefix(1);
    value.type = static_cast<ValueType>(type);
    bool after_comma = false;
    for (line = TrimLeft(line); !line.empty() || after_comma; line = TrimLeft(line)) {
      if (TrimRight(line) == "\\" && (after_comma || value.data.empty())) {
        if (index_ + 1 == lines_.size()) {
          return Fail("the value goes on past the end of the file");
        }
        line = lines_[++index_];
        continue;
      }
      if (!after_comma && !value.data.empty()) {
        if (!line.starts_with(',')) {
          return Fail("hex bytes not separated by commas");
        }
        line.remove_prefix(1);
        after_comma = true;
        continue;
      }
      if (line.empty()) {
        return Fail("a hex list ending in a comma");
      }
      const auto byte = TakeHex(line, 2);
      if (!byte) {
        return Fail("not a hex byte: " + std::string(line));
      }
      value.data.push_back(static_cast<std::uint8_t>(*byte));
      after_comma = false;
    }
    return !wide_texts_ || NarrowWideText(value, first_line);
  }

  // In the export format, the bytes of texts written as hex are UTF-16LE.
  bool NarrowWideText(RegValue& value, std::size_t first_line) {
    const auto type = static_cast<std::uint32_t>(value.type);
    if (type != 1 && type != 2 && type != 7) {
      return true;
    }
    if (value.data.size() % 2 != 0) {
      index_ = first_line;
      return Fail("UTF-16 text of an odd number of bytes");
    }
    std::vector<std::uint8_t> narrow;
    for (std::size_t i = 0; i < value.data.size(); i += 2) {
      if (value.data[i + 1] != 0) {
        index_ = first_line;
        return Fail("a character beyond the ANSI range in hex text");
      }
      narrow.push_back(value.data[i]);
    }
    value.data = std::move(narrow);
    return true;
  }

  Lines lines_;
  bool wide_texts_;
  std::size_t index_ = 0;
  std::vector<RegFileKey> keys_;
  std::optional<RegFileError> error_;
};

}  // namespace

std::variant<std::vector<RegFileKey>, RegFileError> ReadRegFile(
    std::span<const std::uint8_t> bytes) {
  Decoded decoded = DecodeLines(bytes);
  if (auto* error = std::get_if<RegFileError>(&decoded)) {
    return std::move(*error);
  }
  Lines& lines = std::get<Lines>(decoded);
  const std::string_view header = TrimRight(lines.front());
  if (header != kAnsiHeader && header != kUnicodeHeader) {
    return RegFileError{1, "not a registry file: the first line is neither \"" +
                               std::string(kAnsiHeader) + "\" nor \"" +
                               std::string(kUnicodeHeader) + "\""};
  }
  const bool wide_texts = header == kUnicodeHeader;
  return Reader(std::move(lines), wide_texts).Read();
}

}  // namespace tarnwell

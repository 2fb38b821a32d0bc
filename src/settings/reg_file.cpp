// Writing registry files: REGEDIT4, the one format both `reg import` and the Registry Editor
// take in ANSI, so that the program's bytes go into the file as they are.
#include "settings/reg_file.h"

#include <algorithm>

namespace tarnwell {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
// A hex list breaks after the comma that takes its line past this many characters, and
// goes on indented by two spaces, as the Registry Editor writes it.
constexpr std::size_t kHexLineWidth = 76;
constexpr std::string_view kContinuation = "\\\r\n  ";

std::string Hex(std::uint32_t number, std::size_t width) {
  constexpr std::string_view kDigits = "0123456789abcdef";
  std::string digits;
  do {
    digits.insert(digits.begin(), kDigits[number % 16]);
    number /= 16;
  } while (number != 0);
  if (digits.size() < width) {
    digits.insert(0, width - digits.size(), '0');
  }
  return digits;
}

std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') {
      quoted += '\\';
    }
    quoted += c;
  }
  return quoted + '"';
}

// A REG_SZ that reads back the same from quoted text: one NUL, at its end, and no line
// break, which would end the line inside the quotes.
bool IsPlainText(const RegValue& value) {
  const auto& data = value.data;
  if (value.type != ValueType::String || data.empty() || data.back() != 0) {
    return false;
  }
  return std::none_of(data.begin(), data.end() - 1,
                      [](std::uint8_t b) { return b == 0 || b == '\r' || b == '\n'; });
}

void WriteHexList(std::string& out, std::size_t column, const std::vector<std::uint8_t>& data) {
  for (std::size_t i = 0; i < data.size(); ++i) {
    const bool last = i + 1 == data.size();
    std::string item = Hex(data[i], 2);
    if (!last) {
      item += ',';
    }
    out += item;
    column += item.size();
    if (!last && column > kHexLineWidth - 3) {
      out += kContinuation;
      column = 2;
    }
  }
}

void WriteValue(std::string& out, const RegFileValue& entry) {
  const std::size_t start = out.size();
  out += entry.name.empty() ? "@" : Quoted(entry.name);
  out += '=';
  if (!entry.value) {
    out += '-';
  } else if (IsPlainText(*entry.value)) {
    const auto& data = entry.value->data;
    out += Quoted(std::string(data.begin(), data.end() - 1));
  } else if (entry.value->type == ValueType::Dword && entry.value->data.size() == 4) {
    out += "dword:" + Hex(entry.value->Number(), 8);
  } else {
    const auto type = static_cast<std::uint32_t>(entry.value->type);
    out += type == static_cast<std::uint32_t>(ValueType::Binary) ? "hex:"
                                                                 : "hex(" + Hex(type, 1) + "):";
    WriteHexList(out, out.size() - start, entry.value->data);
  }
  out += kLineEnd;
}

}  // namespace

bool operator==(const RegFileValue& a, const RegFileValue& b) {
  if (a.name != b.name || a.value.has_value() != b.value.has_value()) {
    return false;
  }
  return !a.value || (a.value->type == b.value->type && a.value->data == b.value->data);
}

std::string_view RegFileRootName(Root root) {
  return root == Root::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

std::string WriteRegFile(const std::vector<RegFileKey>& keys, std::string_view comment) {
  std::string out = "REGEDIT4";
  out += kLineEnd;
  while (!comment.empty()) {
    const std::size_t end = std::min(comment.find('\n'), comment.size());
    std::string_view line = comment.substr(0, end);
    if (line.ends_with('\r')) {
      line.remove_suffix(1);
    }
    out += "; ";
    out += line;
    out += kLineEnd;
    comment.remove_prefix(std::min(end + 1, comment.size()));
  }
  out += kLineEnd;
  for (const RegFileKey& key : keys) {
    out += '[';
    out += RegFileRootName(key.root);
    if (!key.path.empty()) {
      out += '\\' + key.path;
    }
    out += ']';
    out += kLineEnd;
    for (const RegFileValue& value : key.values) {
      WriteValue(out, value);
    }
    out += kLineEnd;
  }
  return out;
}

}  // namespace tarnwell

// The INI store. Input: section, key and value on the first three lines, the
// file's text after them. The value written reads back; every other line of
// the file is kept, in order, and every other key reads as before.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "platform/ini_file.h"

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) {
    s.remove_prefix(1);
  }
  while (!s.empty() && IsBlank(s.back())) {
    s.remove_suffix(1);
  }
  return s;
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) {
      return false;
    }
  }
  return true;
}

// Names and values the program could write: the store need not cope with a
// key that reads as a comment or a section, or with line breaks in any of them.
bool IsUsable(std::string_view section, std::string_view key, std::string_view value) {
  const auto no_cr = [](std::string_view s) { return s.find('\r') == s.npos; };
  return no_cr(section) && no_cr(key) && no_cr(value) && Trim(section) == section &&
         section.find(']') == section.npos && !key.empty() && Trim(key) == key &&
         key.find('=') == key.npos && key.front() != ';' && key.front() != '#' &&
         key.front() != '[';
}

// The file's lines without their line breaks: LF, CR LF or a lone CR.
std::vector<std::string_view> Lines(std::string_view content) {
  std::vector<std::string_view> lines;
  while (!content.empty()) {
    const std::size_t end = std::min(content.find_first_of("\r\n"), content.size());
    lines.push_back(content.substr(0, end));
    const bool crlf = content.substr(end, 2) == "\r\n";
    content.remove_prefix(std::min(content.size(), end + (crlf ? 2 : 1)));
  }
  return lines;
}

std::optional<std::string_view> SectionOf(std::string_view line) {
  line = Trim(line);
  const std::size_t close = line.find(']');
  if (line.size() < 2 || line.front() != '[' || close == line.npos) {
    return std::nullopt;
  }
  return Trim(line.substr(1, close - 1));
}

bool IsSectionLine(std::string_view line, std::string_view section) {
  const auto name = SectionOf(line);
  return name && SameName(*name, section);
}

bool IsKeyLine(std::string_view line, std::string_view key) {
  const std::string_view trimmed = Trim(line);
  const std::size_t eq = line.find('=');
  return !SectionOf(line) && !trimmed.empty() && trimmed.front() != ';' && trimmed.front() != '#' &&
         eq != line.npos && SameName(Trim(line.substr(0, eq)), key);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace hoshizora;
  std::string_view rest = fuzz::AsBytes(data, size);
  std::array<std::string_view, 3> head;
  for (std::string_view& part : head) {
    const std::size_t end = rest.find('\n');
    if (end == rest.npos) {
      return 0;
    }
    part = rest.substr(0, end);
    rest.remove_prefix(end + 1);
  }
  const auto [section, key, value] = head;
  const std::string_view content = rest;
  if (!IsUsable(section, key, value)) {
    return 0;
  }

  const std::string updated = SetIniValue(content, section, key, value);
  HOSHIZORA_CHECK(FindIniValue(updated, section, key) == std::string(Trim(value)));

  // A byte order mark stays where it was and is no part of the first line.
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  const bool marked = content.starts_with(kByteOrderMark);
  HOSHIZORA_CHECK(std::string_view(updated).starts_with(kByteOrderMark) == marked);
  const std::size_t skip = marked ? kByteOrderMark.size() : 0;

  // At most one line (the key's) is replaced, and at most the key's line and
  // its section's line are added; the rest matches line for line.
  const std::vector<std::string_view> before = Lines(content.substr(skip));
  const std::vector<std::string_view> after = Lines(std::string_view(updated).substr(skip));
  std::size_t prefix = 0;
  while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) {
    ++prefix;
  }
  std::size_t suffix = 0;
  while (prefix + suffix < before.size() && prefix + suffix < after.size() &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  HOSHIZORA_CHECK(before.size() - prefix - suffix <= 1);
  if (before.size() - prefix - suffix == 1) {
    HOSHIZORA_CHECK(IsKeyLine(before[prefix], key));
  }
  HOSHIZORA_CHECK(after.size() - prefix - suffix <= 2);
  for (std::size_t i = prefix; i < after.size() - suffix; ++i) {
    HOSHIZORA_CHECK(IsKeyLine(after[i], key) || IsSectionLine(after[i], section));
  }

  for (std::string_view other_section : {section, std::string_view("General")}) {
    for (std::string_view other_key : {"FreqHz", "Cpm", "a"}) {
      if (!(SameName(other_section, section) && SameName(other_key, key))) {
        HOSHIZORA_CHECK(FindIniValue(updated, other_section, other_key) ==
                        FindIniValue(content, other_section, other_key));
      }
    }
  }
  return 0;
}

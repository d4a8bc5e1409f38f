#include "platform/ini_file.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "base/unicode.h"

namespace hoshizora {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trimmed(std::string_view s) {
  return Trim(s, IsBlank);
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}

// One line of the file, with its line ending kept apart.
struct Line {
  std::string_view text;
  std::string_view ending;
  bool byte_order_mark = false;
};

// Splits at LF, CR LF and a lone CR. A byte order mark becomes a line of its
// own with no ending, so it is written back where it was and read as nothing.
std::vector<Line> SplitLines(std::string_view content) {
  std::vector<Line> lines;
  if (content.starts_with(kByteOrderMark)) {
    lines.push_back({content.substr(0, kByteOrderMark.size()), {}, true});
    content.remove_prefix(kByteOrderMark.size());
  }
  while (!content.empty()) {
    const std::size_t end = std::min(content.find_first_of("\r\n"), content.size());
    std::size_t next = end;
    if (end < content.size()) {
      next = content.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
    }
    lines.push_back({content.substr(0, end), content.substr(end, next - end)});
    content.remove_prefix(next);
  }
  return lines;
}

// The section a line opens, if it is a section line.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trimmed(line);
  if (line.size() >= 2 && line.front() == '[') {
    const std::size_t close = line.find(']');
    if (close != std::string_view::npos) {
      return Trimmed(line.substr(1, close - 1));
    }
  }
  return std::nullopt;
}

// The key of a key=value line.
std::optional<std::string_view> KeyName(std::string_view line) {
  const std::string_view trimmed = Trimmed(line);
  if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') {
    return std::nullopt;
  }
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) {
    return std::nullopt;
  }
  return Trimmed(line.substr(0, eq));
}

}  // namespace

std::optional<std::string> FindIniValue(std::string_view content, std::string_view section,
                                        std::string_view key) {
  bool in_section = false;
  for (const Line& line : SplitLines(content)) {
    if (const auto name = SectionName(line.text)) {
      in_section = SameName(*name, section);
    } else if (in_section) {
      if (const auto k = KeyName(line.text); k && SameName(*k, key)) {
        return std::string(Trimmed(line.text.substr(line.text.find('=') + 1)));
      }
    }
  }
  return std::nullopt;
}

std::string SetIniValue(std::string_view content, std::string_view section, std::string_view key,
                        std::string_view value) {
  const std::vector<Line> lines = SplitLines(content);
  // New lines end the way the file's first line does.
  std::string_view eol = "\n";
  for (const Line& line : lines) {
    if (!line.byte_order_mark) {
      eol = line.ending.empty() ? eol : line.ending;
      break;
    }
  }
  const std::string entry = std::string(key) + "=" + std::string(value);

  // Find the section, the key inside it, and the last key line of the section.
  std::optional<std::size_t> section_line, key_line, last_in_section;
  bool in_section = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (const auto name = SectionName(lines[i].text)) {
      in_section = SameName(*name, section) && !section_line;
      if (in_section) {
        section_line = i;
        last_in_section = i;
      }
    } else if (in_section) {
      // New keys go after the section's last key: trailing comments and blank
      // lines usually introduce what follows.
      if (const auto k = KeyName(lines[i].text)) {
        last_in_section = i;
        if (SameName(*k, key) && !key_line) {
          key_line = i;
        }
      }
    }
  }

  std::string out;
  out.reserve(content.size() + entry.size() + section.size() + 8);
  auto put = [&](std::string_view text, std::string_view ending) {
    out.append(text);
    out.append(ending.empty() ? eol : ending);
  };
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].byte_order_mark) {
      out.append(lines[i].text);
      continue;
    }
    if (key_line && i == *key_line) {
      // The key keeps the spelling the file already has.
      const std::string_view name = Trimmed(lines[i].text.substr(0, lines[i].text.find('=')));
      put(std::string(name) + "=" + std::string(value), lines[i].ending);
      continue;
    }
    put(lines[i].text, lines[i].ending);
    if (!key_line && last_in_section && i == *last_in_section) {
      // Ended like the line before it: a lone CR here could join a blank
      // line's LF after it into one CR LF, and the blank line would be lost.
      put(entry, lines[i].ending);
    }
  }
  if (!section_line) {
    put("[" + std::string(section) + "]", eol);
    put(entry, eol);
  }
  return out;
}

std::int32_t LeadingInt(std::string_view value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < value.size() && (value[i] == '-' || value[i] == '+')) {
    negative = value[i] == '-';
    ++i;
  }
  std::int64_t n = 0;
  for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
    n = std::min<std::int64_t>(n * 10 + (value[i] - '0'), std::int64_t{1} << 32);
  }
  n = negative ? -n : n;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      n, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::int32_t IniFileStore::ReadInt(std::string_view section, std::string_view key,
                                   std::int32_t default_value) {
  const FileRead file = system_.ReadFile(path_, kLargestFile);
  if (file.status != FileRead::Status::kRead) {
    return default_value;
  }
  const auto value = FindIniValue(file.bytes, section, key);
  return value ? LeadingInt(*value) : default_value;
}

bool IniFileStore::Unreadable() {
  const FileRead::Status status = system_.ReadFile(path_, kLargestFile).status;
  return status != FileRead::Status::kRead && status != FileRead::Status::kMissing;
}

bool IniFileStore::WriteString(std::string_view section, std::string_view key,
                               std::string_view value) {
  const FileRead file = system_.ReadFile(path_, kLargestFile);
  // Only a file read whole, or none at all, may be rewritten: anything else
  // would lose what the program could not read.
  if (file.status != FileRead::Status::kRead && file.status != FileRead::Status::kMissing) {
    return false;
  }
  if (folder_ == Folder::kMakeWhenMissing && !CreateFolders(system_, path_.parent_path())) {
    return false;
  }
  return system_.ReplaceFile(path_, SetIniValue(file.bytes, section, key, value));
}

}  // namespace hoshizora

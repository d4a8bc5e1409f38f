#include "history/history_csv.h"

#include <charconv>
#include <cstdio>
#include <limits>

#include "base/unicode.h"
#include "base/utf8.h"

namespace hoshizora {
namespace {

constexpr std::size_t kFieldCount = 12;
// Far above any real count; keeps sums over 10,000 records clear of overflow.
constexpr std::uint64_t kLargestCount = 1'000'000;

bool NeedsEscape(char16_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == u' ' || c == u',' || c == u'"' || c == u':' ||
         c == u'>' || c == u'/' || c == u'\\' || c == 0x2028 || c == 0x2029;
}

// A character of a tally cell: escaped where it would split an item or a
// line, and for a lone surrogate, which UTF-8 cannot carry.
std::u16string EscapeCharacter(std::u16string_view text) {
  std::u16string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (CharacterUnits(text, i) == 2) {
      out += c;
      out += text[++i];
    } else if (NeedsEscape(c) || IsSurrogate(c)) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\%04X", static_cast<unsigned>(c));
      for (const char* h = hex; *h != '\0'; ++h) {
        out += static_cast<char16_t>(*h);
      }
    } else {
      out += c;
    }
  }
  return out;
}

std::string QuoteCsv(std::string_view text, bool always) {
  const bool needs = always || text.find_first_of(",\"\r\n") != std::string_view::npos;
  if (!needs) {
    return std::string(text);
  }
  std::string out = "\"";
  for (char c : text) {
    out += c;
    if (c == '"') {
      out += '"';
    }
  }
  return out + "\"";
}

std::string TimeText(const std::optional<LocalTime>& time) {
  if (!time) {
    return {};
  }
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", time->year, time->month,
                time->day, time->hour, time->minute, time->second);
  return text;
}

template <typename T>
std::string Optional(const std::optional<T>& value) {
  return value ? std::to_string(*value) : std::string();
}

std::string CharactersCell(const CharacterTallies& tallies) {
  std::u16string cell;
  for (const auto& [character, tally] : tallies) {
    if (!cell.empty()) {
      cell += u' ';
    }
    cell += EscapeCharacter(character);
    cell += u':';
    cell += DecodeUtf8Lenient(std::to_string(tally.heard) + "/" + std::to_string(tally.errors));
  }
  return EncodeUtf8(cell);
}

std::string ConfusionsCell(const ConfusionTallies& confusions) {
  std::u16string cell;
  for (const auto& [pair, count] : confusions) {
    if (!cell.empty()) {
      cell += u' ';
    }
    cell += EscapeCharacter(pair.first);
    cell += u'>';
    cell += EscapeCharacter(pair.second);
    cell += u':';
    cell += DecodeUtf8Lenient(std::to_string(count));
  }
  return EncodeUtf8(cell);
}

// The fields of one CSV line; nothing when a quote is left open or text
// follows a closing quote.
std::optional<std::vector<std::string>> SplitCsv(std::string_view line) {
  std::vector<std::string> fields(1);
  std::size_t i = 0;
  while (i <= line.size()) {
    std::string& field = fields.back();
    if (i < line.size() && line[i] == '"') {
      ++i;
      for (;;) {
        if (i >= line.size()) {
          return std::nullopt;
        }
        if (line[i] == '"') {
          if (i + 1 < line.size() && line[i + 1] == '"') {
            field += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        field += line[i++];
      }
      if (i < line.size() && line[i] != ',') {
        return std::nullopt;
      }
    } else {
      while (i < line.size() && line[i] != ',') {
        field += line[i++];
      }
    }
    if (i >= line.size()) {
      break;
    }
    ++i;  // the comma
    fields.emplace_back();
  }
  return fields;
}

std::optional<std::uint64_t> ParseCount(std::string_view text, std::uint64_t largest) {
  std::uint64_t value = 0;
  if (text.empty() || text.size() > 20) {
    return std::nullopt;
  }
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value > largest) {
    return std::nullopt;
  }
  return value;
}

std::optional<int> ParseInt(std::string_view text) {
  const auto value = ParseCount(text, kLargestCount);
  return value ? std::optional<int>(static_cast<int>(*value)) : std::nullopt;
}

// An empty field is "unknown"; anything else must be a number.
template <typename T>
bool ParseOptional(std::string_view text, std::uint64_t largest, std::optional<T>& out) {
  if (text.empty()) {
    out.reset();
    return true;
  }
  const auto value = ParseCount(text, largest);
  if (value) {
    out = static_cast<T>(*value);
  }
  return value.has_value();
}

bool ParseTime(std::string_view text, std::optional<LocalTime>& out) {
  if (text.empty()) {
    out.reset();
    return true;
  }
  // YYYY-MM-DD HH:MM:SS
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' ||
      text[16] != ':') {
    return false;
  }
  const auto part = [&](std::size_t at, std::size_t size) {
    return ParseInt(text.substr(at, size));
  };
  const auto year = part(0, 4), month = part(5, 2), day = part(8, 2), hour = part(11, 2),
             minute = part(14, 2), second = part(17, 2);
  if (!year || !month || !day || !hour || !minute || !second || *month < 1 || *month > 12 ||
      *day < 1 || *day > 31 || *hour > 23 || *minute > 59 || *second > 60) {
    return false;
  }
  out = LocalTime{*year, *month, *day, *hour, *minute, *second};
  return true;
}

bool IsHexDigit(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

// Reads one character (its escapes undone) from `item` at `at`, up to the
// first unescaped delimiter in `stops`.
std::optional<std::u16string> ReadCharacter(std::u16string_view item, std::size_t& at,
                                            std::u16string_view stops) {
  std::u16string text;
  while (at < item.size() && stops.find(item[at]) == std::u16string_view::npos) {
    if (item[at] == u'\\') {
      if (at + 5 > item.size()) {
        return std::nullopt;
      }
      char16_t value = 0;
      for (std::size_t k = 1; k <= 4; ++k) {
        const char16_t h = item[at + k];
        if (!IsHexDigit(h)) {
          return std::nullopt;
        }
        value = static_cast<char16_t>(value * 16 + (h <= u'9'   ? h - u'0'
                                                    : h <= u'F' ? h - u'A' + 10
                                                                : h - u'a' + 10));
      }
      text += value;
      at += 5;
    } else {
      text += item[at++];
    }
  }
  if (text.empty()) {
    return std::nullopt;
  }
  return text;
}

std::optional<int> ReadNumber(std::u16string_view item, std::size_t& at, char16_t stop) {
  std::string digits;
  while (at < item.size() && item[at] != stop) {
    digits += item[at] < 0x80 ? static_cast<char>(item[at]) : '?';
    ++at;
  }
  return ParseInt(digits);
}

std::vector<std::u16string_view> Items(std::u16string_view cell) {
  std::vector<std::u16string_view> items;
  while (!cell.empty()) {
    const std::size_t blank = cell.find(u' ');
    items.push_back(cell.substr(0, blank));
    if (blank == std::u16string_view::npos) {
      break;
    }
    cell.remove_prefix(blank + 1);
  }
  return items;
}

bool ParseCharacters(std::string_view utf8, CharacterTallies& out) {
  const auto cell = DecodeUtf8Strict(utf8);
  if (!cell) {
    return false;
  }
  for (std::u16string_view item : Items(*cell)) {
    std::size_t at = 0;
    const auto character = ReadCharacter(item, at, u":");
    if (!character || at >= item.size()) {
      return false;
    }
    ++at;
    const auto heard = ReadNumber(item, at, u'/');
    if (!heard || at >= item.size()) {
      return false;
    }
    ++at;
    const auto errors = ReadNumber(item, at, u'\0');
    if (!errors || *errors > *heard || *heard == 0 || out.contains(*character)) {
      return false;
    }
    out[*character] = {*heard, *errors};
  }
  return true;
}

bool ParseConfusions(std::string_view utf8, ConfusionTallies& out) {
  const auto cell = DecodeUtf8Strict(utf8);
  if (!cell) {
    return false;
  }
  for (std::u16string_view item : Items(*cell)) {
    std::size_t at = 0;
    const auto expected = ReadCharacter(item, at, u">");
    if (!expected || at >= item.size()) {
      return false;
    }
    ++at;
    const auto got = ReadCharacter(item, at, u":");
    if (!got || at >= item.size()) {
      return false;
    }
    ++at;
    const auto count = ReadNumber(item, at, u'\0');
    const auto key = std::make_pair(*expected, *got);
    if (!count || *count == 0 || out.contains(key)) {
      return false;
    }
    out[key] = *count;
  }
  return true;
}

}  // namespace

std::string FormatHistoryLine(const HistoryRecord& record) {
  std::string line = TimeText(record.time);
  line += ',' + QuoteCsv(EncodeUtf8(record.key_name), false);
  line += ',' + Optional(record.seed);
  line += ',' + Optional(record.cpm);
  line += ',' + Optional(record.effective_cpm);
  for (int count : {record.score, record.pass_mark, record.substitutions, record.omissions,
                    record.insertions}) {
    line += ',' + std::to_string(count);
  }
  line += ',' + QuoteCsv(CharactersCell(record.characters), true);
  line += ',' + QuoteCsv(ConfusionsCell(record.confusions), true);
  line += record.kind == HistoryKind::kSending ? ",sending" : ",reception";
  return line + '\n';
}

std::optional<HistoryRecord> ParseHistoryLine(std::string_view line) {
  if (line.ends_with('\r')) {
    line.remove_suffix(1);
  }
  const auto fields = SplitCsv(line);
  if (!fields || fields->size() < kFieldCount) {
    return std::nullopt;
  }
  const std::vector<std::string>& f = *fields;
  HistoryRecord record;
  const auto key = DecodeUtf8Strict(f[1]);
  if (!key || !ParseTime(f[0], record.time) ||
      !ParseOptional(f[2], std::numeric_limits<std::uint64_t>::max(), record.seed) ||
      !ParseOptional(f[3], kLargestCount, record.cpm) ||
      !ParseOptional(f[4], kLargestCount, record.effective_cpm)) {
    return std::nullopt;
  }
  record.key_name = *key;
  int* counts[] = {&record.score, &record.pass_mark, &record.substitutions, &record.omissions,
                   &record.insertions};
  for (std::size_t k = 0; k < 5; ++k) {
    const auto value = ParseInt(f[5 + k]);
    if (!value) {
      return std::nullopt;
    }
    *counts[k] = *value;
  }
  if (record.score > 100 || record.pass_mark > 100 || !ParseCharacters(f[10], record.characters) ||
      !ParseConfusions(f[11], record.confusions)) {
    return std::nullopt;
  }
  if (f.size() > kFieldCount && f[kFieldCount] == "sending") {
    record.kind = HistoryKind::kSending;
  } else if (f.size() > kFieldCount && f[kFieldCount] != "reception") {
    return std::nullopt;  // a kind this version does not know
  }
  return record;
}

HistoryParse ParseHistoryFile(std::string_view bytes) {
  HistoryParse parse;
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    bytes.remove_prefix(3);
  }
  parse.ends_with_line_feed = bytes.empty() || bytes.ends_with('\n');
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    if (line.ends_with('\r')) {
      line.remove_suffix(1);
    }
    if (line.empty() || line == kHistoryHeader || line == kFirstHistoryHeader) {
      continue;
    }
    if (auto record = ParseHistoryLine(line)) {
      parse.records.push_back(std::move(*record));
    } else {
      ++parse.skipped;
    }
  }
  return parse;
}

}  // namespace hoshizora

#include "encoding/text_utils.h"

#include <cstdio>
#include <string>

#include "base/unicode.h"

namespace hoshizora {
namespace {

template <typename Keep>
std::u16string CopyIf(std::u16string_view text, Keep keep) {
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (keep(c)) {
      out.push_back(c);
    }
  }
  return out;
}

bool IsKanjiNumeral(char16_t c) {
  return kKanjiNumerals.find(c) != std::u16string_view::npos;
}

}  // namespace

std::u16string StripCommas(std::u16string_view text) {
  return CopyIf(text, [](char16_t c) { return c != u',' && c != u'，'; });
}

std::u16string StripBlanks(std::u16string_view text) {
  return CopyIf(text, [](char16_t c) { return !IsBlank(c); });
}

bool IsKanjiNumber(std::u16string_view text) {
  if (text.empty()) {
    return false;
  }
  for (char16_t c : text) {
    if (!IsKanjiNumeral(c)) {
      return false;
    }
  }
  return true;
}

std::u16string KeepKanjiNumerals(std::u16string_view text) {
  return CopyIf(text, IsKanjiNumeral);
}

std::u16string IntToText(std::int32_t n) {
  const std::string digits = std::to_string(n);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string TimestampText(const std::optional<LocalTime>& now) {
  if (!now) {
    return u"00000000_000000";
  }
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d%02d%02d_%02d%02d%02d", now->year, now->month, now->day,
                now->hour, now->minute, now->second);
  return std::u16string(buffer, buffer + std::char_traits<char>::length(buffer));
}

}  // namespace hoshizora

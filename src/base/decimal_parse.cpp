#include "base/decimal_parse.h"

#include <algorithm>
#include <limits>

#include "base/unicode.h"

namespace hoshizora {
namespace {

// The first character (the zero) of each run of ten decimal digits.
constexpr char16_t kDigitZeros[] = {
    0x0030, 0x0660, 0x06F0, 0x0966, 0x09E6, 0x0A66, 0x0AE6, 0x0B66, 0x0C66,
    0x0CE6, 0x0D66, 0x0E50, 0x0ED0, 0x0F20, 0x1040, 0x17E0, 0x1810, 0xFF10,
};

int DigitValue(char16_t c) {
  for (char16_t zero : kDigitZeros) {
    if (c >= zero && c < zero + 10) {
      return c - zero;
    }
  }
  return -1;
}

}  // namespace

bool IsDecimalDigit(char16_t c) {
  return DigitValue(c) >= 0;
}

std::int32_t ParseDecimal(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsWhiteSpace(text[i])) {
    ++i;
  }
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    ++i;
  }
  // Accumulate the magnitude in 64 bits and stop growing once it is past the
  // 32-bit range, so any number of digits is read in linear time.
  constexpr std::int64_t kCap = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const int digit = DigitValue(text[i]);
    if (digit < 0) {
      break;
    }
    magnitude = std::min(kCap, magnitude * 10 + digit);
  }
  if (negative) {
    return static_cast<std::int32_t>(-magnitude);
  }
  return static_cast<std::int32_t>(std::min(magnitude, kCap - 1));
}

std::int32_t DecideIntField(std::u16string_view text, std::int32_t default_value) {
  const std::int32_t value = ParseDecimal(text);
  if (value == 0 && (text.empty() || text.front() != u'0')) {
    return default_value;
  }
  return value;
}

}  // namespace hoshizora

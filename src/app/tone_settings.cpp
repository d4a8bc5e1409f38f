#include "app/tone_settings.h"

#include <algorithm>

#include "base/decimal_parse.h"
#include "base/unicode.h"

namespace hoshizora {

int BoundFrequency(int hz) {
  return std::clamp(hz, kMinFrequency, kMaxFrequency);
}

int BoundSpeed(int cpm) {
  return std::clamp(cpm, kMinSpeed, kMaxSpeed);
}

std::optional<int> ParseToneSetting(std::u16string_view text, int minimum, int maximum) {
  text = Trim(text, IsWhiteSpace);
  std::u16string_view digits = text;
  if (!digits.empty() && (digits.front() == u'+' || digits.front() == u'-')) {
    digits.remove_prefix(1);
  }
  if (digits.empty()) {
    return std::nullopt;
  }
  // Every remaining character must be a digit: "1,500" or "12abc" is no number.
  for (char16_t c : digits) {
    if (!IsDecimalDigit(c)) {
      return std::nullopt;
    }
  }
  const int value = ParseDecimal(text);
  if (value < minimum || value > maximum) {
    return std::nullopt;
  }
  return value;
}

}  // namespace hoshizora

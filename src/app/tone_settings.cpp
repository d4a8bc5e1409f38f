#include "app/tone_settings.h"

#include <algorithm>

#include "base/decimal_parse.h"
#include "base/unicode.h"
#include "encoding/text_utils.h"

namespace hoshizora {

std::u16string RangeRefused(std::u16string_view label, int minimum, int maximum) {
  return std::u16string(label) + u"は" + IntToText(minimum) + u"から" + IntToText(maximum) +
         u"までの数字で入力してください。";
}

std::u16string FrequencyRefused() {
  return RangeRefused(u"周波数(Hz)", kMinFrequency, kMaxFrequency);
}

std::u16string SpeedRefused() {
  return RangeRefused(u"速度(CPM)", kMinSpeed, kMaxSpeed);
}

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

std::optional<int> ParseFrequency(std::u16string_view text) {
  return ParseToneSetting(text, kMinFrequency, kMaxFrequency);
}

std::optional<int> ParseSpeed(std::u16string_view text) {
  return ParseToneSetting(text, kMinSpeed, kMaxSpeed);
}

}  // namespace hoshizora

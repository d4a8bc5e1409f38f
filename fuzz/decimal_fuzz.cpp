// Decimal number fields and tone settings. Arbitrary text: padding, a
// trailing non-digit and a sign behave as documented, and many digits read
// as their single values accumulated with saturation. Numbers written in any
// of the decimal scripts read back, and a tone setting is accepted exactly
// when it is a whole number within its range.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "app/tone_settings.h"
#include "base/decimal_parse.h"
#include "base/unicode.h"
#include "fuzz_support.h"

namespace {

using hoshizora::IsDecimalDigit;
using hoshizora::ParseDecimal;

constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();

// The zero of every decimal script the parser knows, found by asking it; each
// must be followed by its nine digits.
std::vector<char16_t> FindZeros() {
  std::vector<char16_t> zeros;
  for (std::uint32_t c = 0; c <= 0xFFFF; ++c) {
    const auto unit = static_cast<char16_t>(c);
    if (IsDecimalDigit(unit) && ParseDecimal(std::u16string(1, unit)) == 0) {
      zeros.push_back(unit);
    }
  }
  HOSHIZORA_CHECK(zeros.size() == 18);
  for (char16_t zero : zeros) {
    for (int k = 0; k < 10; ++k) {
      const auto digit = static_cast<char16_t>(zero + k);
      HOSHIZORA_CHECK(IsDecimalDigit(digit) && ParseDecimal(std::u16string(1, digit)) == k);
    }
  }
  return zeros;
}

std::u16string InScript(std::int64_t value, char16_t zero) {
  std::u16string digits;
  std::uint64_t magnitude = value < 0 ? static_cast<std::uint64_t>(-value) : value;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(zero + magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);
  return value < 0 ? u"-" + digits : digits;
}

void CheckArbitraryText(const std::u16string& text, std::int32_t default_value) {
  const std::int32_t value = ParseDecimal(text);
  HOSHIZORA_CHECK(ParseDecimal(text + u"x") == value);
  HOSHIZORA_CHECK(ParseDecimal(u" " + text) == value);
  HOSHIZORA_CHECK(ParseDecimal(u"\u3000" + text) == value);
  const std::int32_t field = hoshizora::DecideIntField(text, default_value);
  if (value != 0) {
    HOSHIZORA_CHECK(field == value);
  } else {
    HOSHIZORA_CHECK(field == (!text.empty() && text.front() == u'0' ? 0 : default_value));
  }

  // The text's digits alone, in any mix of scripts.
  std::u16string digits;
  std::int64_t positive = 0;
  std::int64_t negative = 0;
  for (char16_t c : text) {
    if (IsDecimalDigit(c)) {
      digits.push_back(c);
      const std::int32_t d = ParseDecimal(std::u16string(1, c));
      positive = std::min(kMax, positive * 10 + d);
      negative = std::max(kMin, negative * 10 - d);
    }
  }
  HOSHIZORA_CHECK(ParseDecimal(digits) == positive);
  HOSHIZORA_CHECK(ParseDecimal(u"+" + digits) == positive);
  HOSHIZORA_CHECK(ParseDecimal(u"-" + digits) == negative);
}

void CheckToneSetting(const std::u16string& text, int minimum, int maximum) {
  const auto setting = hoshizora::ParseToneSetting(text, minimum, maximum);
  if (!setting) {
    return;
  }
  HOSHIZORA_CHECK(*setting >= minimum && *setting <= maximum);
  HOSHIZORA_CHECK(*setting == ParseDecimal(text));
  // Accepted text is padding, an optional sign and digits only.
  std::u16string_view core = hoshizora::Trim(std::u16string_view(text), hoshizora::IsWhiteSpace);
  if (!core.empty() && (core.front() == u'+' || core.front() == u'-')) {
    core.remove_prefix(1);
  }
  HOSHIZORA_CHECK(!core.empty());
  for (char16_t c : core) {
    HOSHIZORA_CHECK(IsDecimalDigit(c));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace hoshizora;
  static const std::vector<char16_t> zeros = FindZeros();
  FuzzedDataProvider input(data, size);
  const auto value = input.ConsumeIntegral<std::int32_t>();
  const char16_t zero = zeros[input.ConsumeIntegralInRange<std::size_t>(0, zeros.size() - 1)];
  const auto leading_zeros = input.ConsumeIntegralInRange<std::size_t>(0, 12);
  const bool padded = input.ConsumeBool();
  const bool plus = input.ConsumeBool();
  // Ranges stay clear of the saturation values, which no real range reaches.
  const int minimum = input.ConsumeIntegralInRange<int>(-1'000'000'000, 1'000'000'000);
  const int maximum = input.ConsumeIntegralInRange<int>(minimum, 1'000'000'000);
  const std::u16string text = fuzz::Utf16FromBytes(input.ConsumeRemainingBytesAsString());

  CheckArbitraryText(text, value);
  CheckToneSetting(text, minimum, maximum);

  std::u16string written = InScript(value, zero);
  const std::size_t first_digit = value < 0 ? 1 : 0;
  written.insert(first_digit, leading_zeros, zero);
  if (plus && value >= 0) {
    written.insert(0, u"+");
  }
  if (padded) {
    written = u" \t\u3000" + written + u"\u3000 ";
  }
  HOSHIZORA_CHECK(ParseDecimal(written) == value);
  const auto setting = ParseToneSetting(written, minimum, maximum);
  HOSHIZORA_CHECK(
      setting == (value >= minimum && value <= maximum ? std::optional<int>(value) : std::nullopt));
  // A non-digit among the digits makes it no number at all.
  HOSHIZORA_CHECK(!ParseToneSetting(written + u",0", minimum, maximum));
  return 0;
}

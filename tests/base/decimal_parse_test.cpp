#include "base/decimal_parse.h"

#include <gtest/gtest.h>

namespace hoshizora {
namespace {

struct Case {
  std::u16string text;
  std::int32_t parsed;
  std::int32_t field;  // DecideIntField with default 440
};

TEST(DecimalParsing, ReadIntFieldTable) {
  const Case cases[] = {
      {u"", 0, 440},
      {u"abc", 0, 440},
      {u"0", 0, 0},
      {u"00", 0, 0},
      {u" 0", 0, 440},
      {u"-0", 0, 440},
      {u"12abc", 12, 12},
      {u"+5", 5, 5},
      {u"-7", -7, -7},
      {u"４４０", 440, 440},
      {u"０", 0, 440},
      {u"99999999999", 2147483647, 2147483647},
      {u"-99999999999", -2147483647 - 1, -2147483647 - 1},
      {u"2147483647", 2147483647, 2147483647},
      {u"-2147483648", -2147483647 - 1, -2147483647 - 1},
      {u"2147483648", 2147483647, 2147483647},
      {u"1,500", 1, 1},
      {u"\u3000\t 12", 12, 12},
      {u"+-3", 0, 440},
      {u"٣٤", 34, 34},
      {u"१२", 12, 12},
      {u"໑໒", 12, 12},
      {u"᠑᠒", 12, 12},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseDecimal(c.text), c.parsed) << c.text.size();
    EXPECT_EQ(DecideIntField(c.text, 440), c.field) << c.text.size();
  }
}

TEST(DecimalParsing, EveryDigitRunReadsZeroToNine) {
  const char16_t zeros[] = {0x0030, 0x0660, 0x06F0, 0x0966, 0x09E6, 0x0A66, 0x0AE6, 0x0B66, 0x0C66,
                            0x0CE6, 0x0D66, 0x0E50, 0x0ED0, 0x0F20, 0x1040, 0x17E0, 0x1810, 0xFF10};
  for (char16_t zero : zeros) {
    std::u16string text;
    for (int d = 1; d <= 9; ++d) {
      text.push_back(static_cast<char16_t>(zero + d));
    }
    text.push_back(zero);
    EXPECT_EQ(ParseDecimal(text), 1234567890) << std::hex << int{zero};
    // The character just past the run is not a digit.
    EXPECT_EQ(ParseDecimal(std::u16string(1, static_cast<char16_t>(zero + 10))), 0);
  }
}

TEST(DecimalParsing, LongDigitRunsSaturate) {
  const std::u16string many(100000, u'9');
  EXPECT_EQ(ParseDecimal(many), 2147483647);
  EXPECT_EQ(ParseDecimal(u"-" + many), -2147483647 - 1);
}

}  // namespace
}  // namespace hoshizora

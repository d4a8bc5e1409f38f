#include "encoding/text_utils.h"

#include <gtest/gtest.h>

namespace hoshizora {
namespace {

TEST(StripCommas, RemovesAsciiAndFullWidthCommas) {
  EXPECT_EQ(StripCommas(u"一,二，三"), u"一二三");
  EXPECT_EQ(StripCommas(u""), u"");
  EXPECT_EQ(StripCommas(u"コ8,19、"), u"コ819、");
}

TEST(StripBlanks, RemovesBlanksAndLineBreaksOnly) {
  EXPECT_EQ(StripBlanks(u" 一\t二\r\n三\u3000"), u"一二三");
  EXPECT_EQ(StripBlanks(u"一。・二"), u"一。・二");
}

TEST(KanjiNumerals, TestAndKeep) {
  EXPECT_TRUE(IsKanjiNumber(u"三十五"));
  EXPECT_TRUE(IsKanjiNumber(u"〇百千"));
  EXPECT_FALSE(IsKanjiNumber(u"三十五号"));
  EXPECT_FALSE(IsKanjiNumber(u""));
  EXPECT_FALSE(IsKanjiNumber(u"一二。"));
  EXPECT_EQ(KeepKanjiNumerals(u"第三十五号"), u"三十五");
  EXPECT_EQ(KeepKanjiNumerals(u"35"), u"");
}

TEST(TimestampText, FormatsLocalTimeOrZeros) {
  EXPECT_EQ(TimestampText(LocalTime{2024, 1, 31, 9, 5, 7}), u"20240131_090507");
  EXPECT_EQ(TimestampText(LocalTime{2026, 12, 6, 23, 59, 59}), u"20261206_235959");
  EXPECT_EQ(TimestampText(std::nullopt), u"00000000_000000");
}

TEST(TextUtils, IntToTextHasNoGrouping) {
  EXPECT_EQ(IntToText(0), u"0");
  EXPECT_EQ(IntToText(700), u"700");
  EXPECT_EQ(IntToText(-20), u"-20");
  EXPECT_EQ(IntToText(-2147483647 - 1), u"-2147483648");
}

}  // namespace
}  // namespace hoshizora

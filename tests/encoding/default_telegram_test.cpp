#include "encoding/default_telegram.h"

#include <gtest/gtest.h>

namespace hoshizora {
namespace {

LocalTime At(int day, int hour, int minute) {
  return LocalTime{2024, 1, day, hour, minute, 0};
}

TEST(MakeDefaultTelegram, FieldsFromTheClock) {
  const TelegramFields late = MakeDefaultTelegram(At(31, 23, 59));
  EXPECT_EQ(late.count, u"一二六");
  EXPECT_EQ(late.station, u"一三");
  EXPECT_EQ(late.number, u"五九");
  EXPECT_EQ(late.time, u"コ23,59");

  const TelegramFields midnight = MakeDefaultTelegram(At(1, 0, 0));
  EXPECT_EQ(midnight.station, u"一〇");
  EXPECT_EQ(midnight.number, u"〇〇");
  EXPECT_EQ(midnight.time, u"コ0,00");

  const TelegramFields morning = MakeDefaultTelegram(At(6, 8, 19));
  EXPECT_EQ(morning.station, u"六八");
  EXPECT_EQ(morning.number, u"一九");
  EXPECT_EQ(morning.time, u"コ8,19");
  EXPECT_EQ(MakeDefaultTelegram(At(25, 14, 5)).time, u"コ14,05");
  EXPECT_EQ(MakeDefaultTelegram(At(10, 20, 7)).station, u"〇〇");
}

TEST(MakeDefaultTelegram, FallbackWithoutAClock) {
  const TelegramFields f = MakeDefaultTelegram(std::nullopt);
  EXPECT_EQ(f.station, u"五二");
  EXPECT_EQ(f.number, u"三四");
  EXPECT_EQ(f.time, u"コ12,34");
  EXPECT_EQ(f.addressee, u"ミドリケン」ハナシ」ヤマノ サクラ」");
  EXPECT_EQ(f.body.size(), 134u);
  EXPECT_TRUE(f.body.starts_with(u"[ホレ]ハルカナヤマナミニ"));
  EXPECT_TRUE(f.body.ends_with(u"ミツケルコトガダイジ」[ラタ]"));
}

TEST(KanjiTwoDigits, KeepsTheLastTwoDigits) {
  EXPECT_EQ(KanjiTwoDigits(0), u"〇〇");
  EXPECT_EQ(KanjiTwoDigits(-5), u"〇〇");
  EXPECT_EQ(KanjiTwoDigits(-2147483647 - 1), u"〇〇");
  EXPECT_EQ(KanjiTwoDigits(7), u"〇七");
  EXPECT_EQ(KanjiTwoDigits(59), u"五九");
  EXPECT_EQ(KanjiTwoDigits(123), u"二三");
  EXPECT_EQ(KanjiTwoDigits(2147483647), u"四七");
}

TEST(DecimalInKanjiDigits, WritesEveryDigitWithoutLeadingZeros) {
  EXPECT_EQ(DecimalInKanjiDigits(0), u"〇");
  EXPECT_EQ(DecimalInKanjiDigits(7), u"七");
  EXPECT_EQ(DecimalInKanjiDigits(110), u"一一〇");
  EXPECT_EQ(DecimalInKanjiDigits(1000), u"一〇〇〇");
  EXPECT_EQ(DecimalInKanjiDigits(-5), u"〇五");
}

}  // namespace
}  // namespace hoshizora

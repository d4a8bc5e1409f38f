#include "encoding/group_marks.h"

#include <gtest/gtest.h>

#include "encoding/default_telegram.h"

namespace hoshizora {
namespace {

std::u16string Repeat(std::u16string_view s, int n) {
  std::u16string out;
  for (int i = 0; i < n; ++i) {
    out += s;
  }
  return out;
}

std::u16string Telegram(const std::u16string& body) {
  return u"[ホレ]" + body + u"[ラタ]";
}

TEST(InsertGroupMarks, LeavesTextsWithoutABodyUnchanged) {
  const std::u16string texts[] = {
      u"",           u"アイウ",           u"[ホレ]アイ",
      u"アイ[ラタ]", u"[ラタ]アイ[ホレ]", u"[ラタ][ホレ]" + Repeat(u"ア", 70)};
  for (const std::u16string& text : texts) {
    EXPECT_EQ(InsertGroupMarks(text), text);
  }
}

TEST(InsertGroupMarks, MarksAfterEverySixtiethCountedCharacter) {
  EXPECT_EQ(InsertGroupMarks(Telegram(Repeat(u"ア", 59))), Telegram(Repeat(u"ア", 59)));
  EXPECT_EQ(InsertGroupMarks(Telegram(Repeat(u"ア", 60))), Telegram(Repeat(u"ア", 60) + u"？"));
  EXPECT_EQ(InsertGroupMarks(Telegram(Repeat(u"ア", 61))), Telegram(Repeat(u"ア", 60) + u"？ア"));
  EXPECT_EQ(InsertGroupMarks(Telegram(Repeat(u"ア", 120))),
            Telegram(Repeat(Repeat(u"ア", 60) + u"？", 2)));
}

TEST(InsertGroupMarks, UncountedCharactersStayButDoNotCount) {
  const std::u16string body = Repeat(u"ア", 30) + u" " + Repeat(u"ア", 30);
  EXPECT_EQ(InsertGroupMarks(Telegram(body)), Telegram(body + u"？"));
  const std::u16string mixed = u"ア\tイ\r\nウ\u3000？" + Repeat(u"カ", 57) + u" キ";
  EXPECT_EQ(InsertGroupMarks(Telegram(mixed)),
            Telegram(u"ア\tイ\r\nウ\u3000？" + Repeat(u"カ", 57) + u"？ キ"));
}

TEST(InsertGroupMarks, ASurrogatePairIsOneCharacterAndNeverSplit) {
  const std::u16string pair = u"\U00020BB7";  // 𠮷, two UTF-16 units
  EXPECT_EQ(InsertGroupMarks(Telegram(Repeat(u"ア", 59) + pair + u"イ")),
            Telegram(Repeat(u"ア", 59) + pair + u"？イ"));
  EXPECT_EQ(InsertGroupMarks(Telegram(Repeat(pair, 61))),
            Telegram(Repeat(pair, 60) + u"？" + pair));
  EXPECT_EQ(CountBodyCharacters(Telegram(Repeat(pair, 61))), 61);
  // Halves that do not make a pair count one each.
  EXPECT_EQ(CountBodyCharacters(Telegram(u"\xDC00\xD800ア\xD800")), 4);
}

TEST(InsertGroupMarks, NeverMarksTheHeadOrTail) {
  const std::u16string head = Repeat(u"ア", 200) + u"\n";
  const std::u16string tail = Repeat(u"イ", 200);
  const std::u16string text = head + Telegram(Repeat(u"ウ", 60)) + tail;
  EXPECT_EQ(InsertGroupMarks(text), head + Telegram(Repeat(u"ウ", 60) + u"？") + tail);
}

TEST(InsertGroupMarks, LaterSignsAreBodyCharacters) {
  // The second Start sign counts as four characters of the body.
  const std::u16string body = u"[ホレ]" + Repeat(u"ア", 56) + u"イ";
  EXPECT_EQ(InsertGroupMarks(Telegram(body)), Telegram(u"[ホレ]" + Repeat(u"ア", 56) + u"？イ"));
}

TEST(InsertGroupMarks, DefaultTelegramGetsTwoMarks) {
  const std::u16string marked = InsertGroupMarks(MakeDefaultTelegram(std::nullopt).body);
  EXPECT_NE(marked.find(u"ヒトハイソガシ？クモ"), std::u16string::npos);
  EXPECT_TRUE(marked.ends_with(u"ミツケルコ？トガダイジ」[ラタ]"));
}

TEST(CountBodyCharacters, CountsOnlyCountedBodyCharacters) {
  EXPECT_EQ(CountBodyCharacters(u"アイウ"), 0);
  EXPECT_EQ(CountBodyCharacters(u"[ホレ]アイウ"), 0);
  EXPECT_EQ(CountBodyCharacters(u"[ラタ]アイ[ホレ]"), 0);
  EXPECT_EQ(CountBodyCharacters(u"[ホレ]ア イ？\n[ラタ]"), 2);
  EXPECT_EQ(CountBodyCharacters(u"前[ホレ]ア。X[ラタ]後"), 3);
  EXPECT_EQ(CountBodyCharacters(MakeDefaultTelegram(std::nullopt).body), 126);
}

TEST(InsertGroupMarks, HandlesHugeAndOddInput) {
  std::u16string body;
  for (int i = 0; i < 100000; ++i) {
    body.push_back(static_cast<char16_t>(i % 3 == 0 ? 0xD800 : (i % 3 == 1 ? 0 : u'ア')));
  }
  const std::u16string marked = InsertGroupMarks(Telegram(body));
  EXPECT_EQ(marked.size(), Telegram(body).size() + 100000 / 60);
  EXPECT_EQ(CountBodyCharacters(Telegram(body)), 100000);
}

}  // namespace
}  // namespace hoshizora

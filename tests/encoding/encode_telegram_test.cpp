#include "encoding/encode_telegram.h"

#include <gtest/gtest.h>

#include "encoding/default_telegram.h"
#include "encoding/group_marks.h"

namespace hoshizora {
namespace {

struct Example {
  std::u16string text;
  std::u16string code;
};

TEST(EncodeTelegram, WorkedExamples) {
  const Example examples[] = {
      {u"ア", u"--.-- "},
      {u"カ゛", u".-.. .. "},
      {u"[ホレ]アイ[ラタ]", u" -..--- --.-- .-  ...-. "},
      {u"ア[ホレ]", u"--.--  -..--- "},
      {u"[ホレ", u"-.. --- "},
      {u"SOS", u"... --- ... "},
      {u"sos", u"... --- ... "},
      {u"123", u".- ..- ...- "},
      {u"一二三", u".---- ..--- ...-- "},
      {u"ア イ", u"--.-- .- "},
      {u"ア\nイ", u"--.-- .- "},
      {u"コ8,19", u"---- -.. .-.-.- .- -. "},
      {u"(カ)", u"-.--.- .-.. .-..-. "},
      {u"？", u"？ "},
      {u"?", u"..--.. "},
      {u"Ab.", u".- -... .-.-.- "},
      {u"[ホレ][ホレ]", u" -..---  -..--- "},
      {u"", u""},
      {u" \r\n\t\u3000", u""},
      {u"。「X", u"-..- "},
  };
  for (const Example& e : examples) {
    EXPECT_EQ(EncodeTelegram(e.text), e.code) << std::string(e.text.begin(), e.text.end());
  }
}

TEST(EncodeTelegram, SignsAreRecognisedEverywhere) {
  EXPECT_EQ(EncodeTelegram(u"[ラタ]ア[ラタ]"), u" ...-. --.--  ...-. ");
  EXPECT_EQ(EncodeTelegram(u"[ホレ]"), u" -..--- ");
  EXPECT_EQ(EncodeTelegram(u"ホレ]"), u"-.. --- ");
}

TEST(EncodeTelegram, FoldsCharactersThatTheTableDoesNotKey) {
  // Folding: voiced kana, combining marks, の, small hiragana,
  // ー, half-width katakana and full-width ASCII all reach a key.
  EXPECT_EQ(EncodeTelegram(u"ガ"), EncodeTelegram(u"カ゛"));
  EXPECT_EQ(EncodeTelegram(u"パ"), EncodeTelegram(u"ハ゜"));
  EXPECT_EQ(EncodeTelegram(u"ぶ"), EncodeTelegram(u"ふ゛"));
  EXPECT_EQ(EncodeTelegram(u"ヴ"), EncodeTelegram(u"ウ゛"));
  EXPECT_EQ(EncodeTelegram(u"カ\u3099"), EncodeTelegram(u"カ゛"));
  EXPECT_EQ(EncodeTelegram(u"の"), u"..-- ");
  EXPECT_EQ(EncodeTelegram(u"ゃっ"), EncodeTelegram(u"ャッ"));
  EXPECT_EQ(EncodeTelegram(u"ー"), u".--.- ");
  EXPECT_EQ(EncodeTelegram(u"ｶﾞｰ"), EncodeTelegram(u"カ゛-"));
  EXPECT_EQ(EncodeTelegram(u"３５"), EncodeTelegram(u"35"));
  EXPECT_EQ(EncodeTelegram(u"ＡＢ"), EncodeTelegram(u"AB"));
  EXPECT_EQ(EncodeTelegram(u"，"), u".-.-.- ");
  EXPECT_EQ(EncodeTelegram(u"？"), u"？ ") << "the Group mark is not folded";
}

TEST(EncodeTelegram, DefaultTelegramKeysEveryBodyCharacter) {
  const std::u16string body = MakeDefaultTelegram(std::nullopt).body;
  EXPECT_TRUE(ListUnkeyedCharacters(InsertGroupMarks(body)).empty());
  const std::u16string code = EncodeTelegram(InsertGroupMarks(body));
  // 126 characters, of which 11 precomposed voiced kana give two tokens each,
  // plus two Group marks and the two signs.
  std::size_t tokens = 0;
  bool in_token = false;
  for (char16_t c : code) {
    if (c != u' ' && !in_token) {
      ++tokens;
    }
    in_token = c != u' ';
  }
  EXPECT_EQ(tokens, 126u + 11u + 2u + 2u);
  EXPECT_TRUE(code.ends_with(u"...-. "));
}

TEST(EncodeTelegram, CodeTextHoldsOnlyItsFourCharacters) {
  std::u16string text;
  for (char32_t c = 0; c < 0x10000; ++c) {
    text.push_back(static_cast<char16_t>(c));
  }
  const std::u16string code = EncodeTelegram(text);
  ASSERT_FALSE(code.empty());
  EXPECT_EQ(code.find_first_not_of(u".- ？"), std::u16string::npos);
  EXPECT_EQ(code.back(), u' ');
  EXPECT_NE(code[code.size() - 2], u' ');
}

TEST(ListUnkeyedCharacters, ListsEachMissingCharacterOnceInOrder) {
  const auto list = ListUnkeyedCharacters(u"[ホレ]ア。「X。ヰ😀😀\u3000 ？\r\n[ラタ]【");
  const std::vector<std::u16string> expected = {u"。", u"「", u"ヰ", u"😀", u"【"};
  EXPECT_EQ(list, expected);
  EXPECT_TRUE(ListUnkeyedCharacters(u"").empty());
  EXPECT_EQ(ListUnkeyedCharacters(u"[ホレ"), std::vector<std::u16string>{u"["});
}

TEST(ListUnkeyedCharacters, LoneSurrogatesAndNulAreListed) {
  const std::u16string text{u'ア', char16_t{0xDC00}, char16_t{0}, char16_t{0xD800}};
  const std::vector<std::u16string> expected = {std::u16string(1, char16_t{0xDC00}),
                                                std::u16string(1, char16_t{0}),
                                                std::u16string(1, char16_t{0xD800})};
  EXPECT_EQ(ListUnkeyedCharacters(text), expected);
}

}  // namespace
}  // namespace hoshizora

#include "encoding/kana_folding.h"

#include <gtest/gtest.h>

#include <string>

namespace hoshizora {
namespace {

std::u16string Fold(char16_t c) {
  const FoldedCharacter f = FoldForCodeTable(c);
  return std::u16string(f.chars.data(), f.size);
}

TEST(FoldForCodeTable, SplitsPrecomposedVoicedKana) {
  EXPECT_EQ(Fold(u'グ'), u"ク゛");
  EXPECT_EQ(Fold(u'ヅ'), u"ツ゛");
  EXPECT_EQ(Fold(u'ド'), u"ト゛");
  EXPECT_EQ(Fold(u'ビ'), u"ヒ゛");
  EXPECT_EQ(Fold(u'ポ'), u"ホ゜");
  EXPECT_EQ(Fold(u'ヴ'), u"ウ゛");
  EXPECT_EQ(Fold(u'ヺ'), u"ヲ゛");
  EXPECT_EQ(Fold(u'が'), u"か゛");
  EXPECT_EQ(Fold(u'ぴ'), u"ひ゜");
  EXPECT_EQ(Fold(u'ゔ'), u"う゛");
}

TEST(FoldForCodeTable, MapsMarksSmallKanaAndTheLongVowel) {
  EXPECT_EQ(Fold(u'\u3099'), u"゛");
  EXPECT_EQ(Fold(u'\u309A'), u"゜");
  EXPECT_EQ(Fold(u'の'), u"ノ");
  EXPECT_EQ(Fold(u'ぁ'), u"ァ");
  EXPECT_EQ(Fold(u'ょ'), u"ョ");
  EXPECT_EQ(Fold(u'っ'), u"ッ");
  EXPECT_EQ(Fold(u'ー'), u"-");
  EXPECT_EQ(Fold(u'ヰ'), u"ヰ");
  EXPECT_EQ(Fold(u'ゐ'), u"ゐ");
}

TEST(FoldForCodeTable, WidensHalfWidthKatakana) {
  EXPECT_EQ(Fold(u'ｱ'), u"ア");
  EXPECT_EQ(Fold(u'ﾝ'), u"ン");
  EXPECT_EQ(Fold(u'ｯ'), u"ッ");
  EXPECT_EQ(Fold(u'ｰ'), u"-");
  EXPECT_EQ(Fold(u'ﾞ'), u"゛");
  EXPECT_EQ(Fold(u'ﾟ'), u"゜");
  EXPECT_EQ(Fold(u'｣'), u"」");
  EXPECT_EQ(Fold(u'､'), u"、");
  EXPECT_EQ(Fold(u'ﾉ'), u"ノ");
}

TEST(FoldForCodeTable, NarrowsFullWidthAsciiButKeepsTheGroupMark) {
  EXPECT_EQ(Fold(u'０'), u"0");
  EXPECT_EQ(Fold(u'９'), u"9");
  EXPECT_EQ(Fold(u'Ａ'), u"A");
  EXPECT_EQ(Fold(u'ｚ'), u"z");
  EXPECT_EQ(Fold(u'，'), u",");
  EXPECT_EQ(Fold(u'（'), u"(");
  EXPECT_EQ(Fold(u'～'), u"~");
  EXPECT_EQ(Fold(u'？'), u"？");
}

TEST(FoldForCodeTable, LeavesEverythingElseAlone) {
  for (char16_t c : {u'ア', u'カ', u'ハ', u'あ', u'ン', u'一', u'。', u'A', char16_t{0},
                     char16_t{0xD800}, char16_t{0xFFFF}, u'ヿ', u'ゟ'}) {
    EXPECT_EQ(Fold(c), std::u16string(1, c));
  }
}

}  // namespace
}  // namespace hoshizora

#include "practice/practice_words.h"

#include <gtest/gtest.h>

#include <set>

#include "base/utf8.h"
#include "encoding/default_telegram.h"
#include "encoding/encode_telegram.h"
#include "encoding/text_utils.h"

namespace hoshizora {
namespace {

// Katakana (small and voiced forms included, ー and ・ not) and kanji digits:
// the punctuation and blanks of a telegram come from the generator alone.
bool IsEntryCharacter(char16_t c) {
  return (c >= u'ァ' && c <= u'ヺ' && c != u'ヰ' && c != u'ヵ' && c != u'ヶ') ||
         kKanjiDigits.find(c) != std::u16string_view::npos;
}

void ExpectGoodEntries(const std::vector<std::u16string>& entries, std::u16string_view suffix) {
  ASSERT_FALSE(entries.empty());
  std::set<std::u16string> seen;
  for (const std::u16string& entry : entries) {
    SCOPED_TRACE(EncodeUtf8(entry));
    EXPECT_TRUE(seen.insert(entry).second) << "listed twice";
    EXPECT_TRUE(ListUnkeyedCharacters(entry).empty());
    for (char16_t c : entry) {
      EXPECT_TRUE(IsEntryCharacter(c)) << EncodeUtf8(std::u16string(1, c));
    }
    EXPECT_TRUE(entry.ends_with(suffix));
    EXPECT_GT(entry.size(), suffix.size());
  }
}

TEST(BuiltInPracticeWords, EveryEntryIsUniqueAndKeyable) {
  const PracticeWordList& list = BuiltInPracticeWords();
  EXPECT_TRUE(list.stray_lines.empty());
  EXPECT_GE(list.words.size(), 300u);
  ExpectGoodEntries(list.words, u"");
  ExpectGoodEntries(list.prefectures, u"ケン");
  ExpectGoodEntries(list.cities, u"シ");
  ExpectGoodEntries(list.family_names, u"");
  ExpectGoodEntries(list.given_names, u"");
}

TEST(ParsePracticeWordList, SectionsCommentsAndStrayLines) {
  const PracticeWordList list = ParsePracticeWordList(
      "\xEF\xBB\xBF# comment\r\n"
      "ア\n"                     // 2: before any section
      "[words]\r\n"              // 3
      "  カ キ \t\r\n"           // 4: trimmed, inner blank kept
      "\n"                       // 5
      "   # indented comment\n"  // 6
      "[cities]\n"               // 7
      "ハナシ\n"                 // 8
      "[citys]\n"                // 9: unknown section
      "ミナトシ\n"               // 10
      "[given_names]\n"          // 11
      "タロウ");                 // 12: no closing line feed
  EXPECT_EQ(list.words, std::vector<std::u16string>{u"カ キ"});
  EXPECT_EQ(list.cities, std::vector<std::u16string>{u"ハナシ"});
  EXPECT_EQ(list.given_names, std::vector<std::u16string>{u"タロウ"});
  EXPECT_TRUE(list.prefectures.empty());
  EXPECT_TRUE(list.family_names.empty());
  EXPECT_EQ(list.stray_lines, (std::vector<int>{2, 9, 10}));
}

}  // namespace
}  // namespace hoshizora

#include "practice/focus_weights.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "practice/practice_telegram.h"

namespace hoshizora {
namespace {

TEST(FocusWeightsTest, WeightGrowsWithTheErrorRate) {
  struct Case {
    int heard, errors;
    std::uint32_t weight;
  };
  const Case cases[] = {{0, 0, 1000}, {7, 0, 1000}, {4, 2, 2500},
                        {4, 4, 4000}, {1, 1, 4000}, {3, 9, 4000}};
  for (const Case& c : cases) {
    EXPECT_EQ(FocusWeight(c.heard, c.errors), c.weight) << c.heard << "/" << c.errors;
  }
  const FocusWeights focus = {{u"゛", 3000}, {u"カ", 2000}};
  EXPECT_EQ(WeightOfText(u"ガ", focus), 3000u) << "the heavier of カ and ゛";
  EXPECT_EQ(WeightOfText(u"か", focus), 2000u) << "hiragana folds as keying folds it";
  EXPECT_EQ(WeightOfText(u"アイ", focus), kPlainFocusWeight);
}

std::size_t Count(std::u16string_view text, char16_t c) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), c));
}

TEST(FocusWeightsTest, SeededGroupsDrawAnAlwaysMissedCharacterThreeTimesAsOften) {
  PracticeOptions options;
  options.mode = PracticeMode::kGroups;
  options.group_characters = u"アイウエオ";
  options.length = {200, 200};
  options.focus = {{u"ア", FocusWeight(6, 6)}, {u"イ", FocusWeight(9, 0)}};
  std::size_t a = 0, i = 0, others = 0;
  for (std::uint64_t seed = 0; seed < 50; ++seed) {
    const std::u16string body = MakePracticeTelegram(options, seed).body;
    EXPECT_EQ(body, MakePracticeTelegram(options, seed).body) << "reproducible from the seed";
    a += Count(body, u'ア');
    i += Count(body, u'イ');
    others += Count(body, u'ウ') + Count(body, u'エ') + Count(body, u'オ');
  }
  // 10,000 draws: ア expected 4/8 of them, イ and the unheard 1/8 each.
  EXPECT_GE(a, 3 * i) << a << " ア against " << i << " イ";
  EXPECT_GT(i, 1000u) << "a character never missed keeps its chance";
  EXPECT_GT(others, 3000u);
}

TEST(FocusWeightsTest, WordsLeanTowardWordsWithAWeakCharacter) {
  PracticeOptions plain;
  PracticeOptions focused;
  focused.focus = {{u"ン", FocusWeight(5, 5)}};
  std::size_t plain_n = 0, focused_n = 0;
  for (std::uint64_t seed = 0; seed < 40; ++seed) {
    plain_n += Count(MakePracticeTelegram(plain, seed).body, u'ン');
    focused_n += Count(MakePracticeTelegram(focused, seed).body, u'ン');
  }
  EXPECT_GT(focused_n * 2, plain_n * 3) << plain_n << " ン plain, " << focused_n << " focused";
}

}  // namespace
}  // namespace hoshizora

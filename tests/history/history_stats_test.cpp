#include "history/history_stats.h"

#include <gtest/gtest.h>

namespace hoshizora {
namespace {

HistoryRecord Record(int score, CharacterTallies characters, ConfusionTallies confusions = {}) {
  HistoryRecord record;
  record.score = score;
  record.characters = std::move(characters);
  record.confusions = std::move(confusions);
  return record;
}

std::u16string Order(const HistorySummary& summary) {
  std::u16string order;
  for (const CharacterStanding& c : summary.characters) {
    order += c.character;
  }
  return order;
}

TEST(HistoryStatsTest, CharactersWorstFirstWithDeterministicTies) {
  const std::vector<HistoryRecord> records = {
      Record(60, {{u"ア", {4, 0}}, {u"イ", {2, 1}}, {u"ウ", {1, 1}}, {u"エ", {4, 2}}},
             {{{u"ウ", u"ワ"}, 1}, {{u"エ", u"ヱ"}, 2}}),
      Record(75, {{u"オ", {2, 1}}, {u"カ", {3, 0}}}, {{{u"オ", u"ヲ"}, 1}}),
      Record(90, {{u"ウ", {1, 1}}, {u"ア", {1, 0}}, {u"キ", {3, 3}}},
             {{{u"ウ", u"ワ"}, 1}, {{u"キ", u"ヰ"}, 3}}),
  };
  const HistorySummary all = SummarizeHistory(records);
  EXPECT_EQ(all.checks, 3);
  EXPECT_EQ(all.scores, (std::vector<int>{60, 75, 90}));
  // キ 3/3 before ウ 2/2 (more errors at the same rate); エ 2/4, イ 1/2 and
  // オ 1/2 all at one half, エ first for its errors, then イ before オ by
  // code; ア 0/5 before カ 0/3 for being heard more.
  EXPECT_EQ(Order(all), u"キウエイオアカ");
  EXPECT_EQ(all.characters[1].heard, 2);
  EXPECT_EQ(all.characters[1].errors, 2);
  ASSERT_EQ(all.confusions.size(), 4u);
  EXPECT_EQ(all.confusions[0].got, u"ヰ");
  EXPECT_EQ(all.confusions[0].count, 3);
  EXPECT_EQ(all.confusions[1].expected, u"ウ") << "ウ>ワ 2 before エ>ヱ 2 by code";
  EXPECT_EQ(all.confusions[2].expected, u"エ");

  const HistorySummary last_two = SummarizeHistory(records, 2);
  EXPECT_EQ(last_two.checks, 2);
  EXPECT_EQ(Order(last_two), u"キウオカア") << "カ 0/3 now heard more than ア 0/1";
  EXPECT_EQ(last_two.scores, (std::vector<int>{75, 90}));
  EXPECT_EQ(SummarizeHistory(records, 10).checks, 3);
  EXPECT_EQ(SummarizeHistory({}).checks, 0);
}

TEST(HistoryStatsTest, TrendTakesTheMeanOfTheLastTen) {
  EXPECT_FALSE(TrendOf({}));
  struct Case {
    std::vector<int> scores;
    int first, best, last;
    double mean;
  };
  const Case cases[] = {
      {{70}, 70, 70, 70, 70.0},
      {{50, 90, 80}, 50, 90, 80, 220.0 / 3},
      {{0, 100, 10, 10, 10, 10, 10, 10, 10, 10, 10, 20}, 0, 100, 20, 110.0 / 10},
  };
  for (const Case& c : cases) {
    const auto trend = TrendOf(c.scores);
    ASSERT_TRUE(trend);
    EXPECT_EQ(trend->first, c.first);
    EXPECT_EQ(trend->best, c.best);
    EXPECT_EQ(trend->last, c.last);
    EXPECT_DOUBLE_EQ(trend->mean_of_last_ten, c.mean);
  }
}

}  // namespace
}  // namespace hoshizora

#include "history/check_tally.h"

#include <gtest/gtest.h>

namespace hoshizora {
namespace {

TelegramFields Key() {
  TelegramFields key;
  key.count = u"六";
  key.station = u"五九";
  key.number = u"七〇";
  key.time = u"コ一〇五九";
  key.addressee = u"ミドリケン」";
  key.body = u"[ホレ]ガンシ　あア[ラタ]";  // あ keyed as ア, and counted as ア
  return key;
}

TEST(CheckTallyTest, TalliesFromKnownCopies) {
  struct Case {
    const char* what;
    CheckCopy copy;
    CharacterTallies characters;
    ConfusionTallies confusions;
  };
  TelegramFields body_only;
  body_only.body = u"カンツアアイ";
  TelegramFields with_header = Key();
  with_header.body = u"がんし ああ";  // hiragana folds onto what was keyed
  with_header.station = u"五八";
  const Case cases[] = {
      {"body alone: ゛ left out, シ written ツ, イ added",
       {body_only, false},
       {{u"カ", {1, 0}}, {u"゛", {1, 1}}, {u"ン", {1, 0}}, {u"シ", {1, 1}}, {u"ア", {2, 0}}},
       {{{u"シ", u"ツ"}, 1}}},
      {"a whole copy also tallies the header fields",
       {with_header, true},
       // ド of the addressee is ト and ゛, and its ケン」 has another ン.
       {{u"カ", {1, 0}},
        {u"゛", {2, 0}},
        {u"ン", {2, 0}},
        {u"シ", {1, 0}},
        {u"ア", {2, 0}},
        {u"六", {1, 0}},
        {u"五", {2, 0}},
        {u"九", {2, 1}},
        {u"七", {1, 0}},
        {u"〇", {2, 0}},
        {u"一", {1, 0}},
        {u"コ", {1, 0}},
        {u"ミ", {1, 0}},
        {u"ト", {1, 0}},
        {u"リ", {1, 0}},
        {u"ケ", {1, 0}},
        {u"」", {1, 0}}},
       {{{u"九", u"八"}, 1}}},
  };
  for (const Case& c : cases) {
    const CheckResult result = ScoreCopy(Key(), c.copy, CheckScheme{});
    const HistoryRecord record = RecordOfCheck(Key(), c.copy, result);
    EXPECT_EQ(record.characters, c.characters) << c.what;
    EXPECT_EQ(record.confusions, c.confusions) << c.what;
    EXPECT_EQ(record.score, result.score) << c.what;
    EXPECT_EQ(record.pass_mark, 80) << c.what;
    EXPECT_EQ(record.substitutions + record.omissions + record.insertions,
              static_cast<int>(result.errors.size()))
        << c.what;
  }
}

}  // namespace
}  // namespace hoshizora

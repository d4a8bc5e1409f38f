#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>

#include "base/utf8.h"
#include "check/check_result.h"
#include "check/check_scheme.h"
#include "check/copy_text.h"

namespace hoshizora {
namespace {

// An error as "S1イ>キ" (substitution at key position 1), "O1゛", "I2>エ";
// errors joined by blanks.
std::string Describe(const CheckResult& result) {
  std::string out;
  for (const CheckError& e : result.errors) {
    const char kind = e.kind == CheckErrorKind::kSubstitution ? 'S'
                      : e.kind == CheckErrorKind::kOmission   ? 'O'
                                                              : 'I';
    out += (out.empty() ? "" : " ") + std::string(1, kind) + std::to_string(e.position) +
           EncodeUtf8(e.expected) + (e.got.empty() ? "" : ">" + EncodeUtf8(e.got));
  }
  return out;
}

CheckResult ScoreBody(std::u16string_view key_body, std::u16string_view copy_body,
                      const CheckScheme& scheme = {}) {
  TelegramFields key;
  key.body = std::u16string(key_body);
  CheckCopy copy;
  copy.fields.body = std::u16string(copy_body);
  return ScoreCopy(key, copy, scheme);
}

TEST(ScoreCopyTest, BodyErrorsInKeyedCharacters) {
  struct Case {
    const char* what;
    std::u16string_view key;
    std::u16string_view copy;
    const char* errors;
  };
  const Case cases[] = {
      {"identical", u"[ホレ]アイウ[ラタ]", u"[ホレ]アイウ[ラタ]", ""},
      {"hiragana folds like katakana", u"[ホレ]アイウノ[ラタ]", u"あいうの", ""},
      {"half-width folds like full-width", u"[ホレ]アイウ[ラタ]", u"ｱｲｳ", ""},
      {"voiced kana split", u"[ホレ]ガパ[ラタ]", u"カ゛ハ゜", ""},
      {"half-width voiced", u"[ホレ]ガパ[ラタ]", u"ｶﾞﾊﾟ", ""},
      {"hiragana voiced", u"[ホレ]ガパ[ラタ]", u"がぱ", ""},
      {"small kana keyed as large", u"[ホレ]ツア[ラタ]", u"ッァ", ""},
      {"blanks, breaks, marks ignored", u"[ホレ]アイ ウ\r\nエ[ラタ]", u"ア？イ\u3000ウ\tエ\n", ""},
      {"unkeyable key character not heard", u"[ホレ]ア漢イ[ラタ]", u"アイ", ""},
      {"voiced mark missing", u"[ホレ]ガ[ラタ]", u"カ", "O1゛"},
      {"wrong base of a voiced kana", u"[ホレ]ガ[ラタ]", u"ギ", "S0カ>キ"},
      {"semi-voiced for voiced", u"[ホレ]バ[ラタ]", u"パ", "S1゛>゜"},
      {"substitution", u"[ホレ]アイウ[ラタ]", u"アキウ", "S1イ>キ"},
      {"omission", u"[ホレ]アイウ[ラタ]", u"アウ", "O1イ"},
      {"insertion", u"[ホレ]アイウ[ラタ]", u"アイエウ", "I2>エ"},
      {"insertion at the end", u"[ホレ]アイ[ラタ]", u"アイウ", "I2>ウ"},
      {"adjacent substitutions", u"[ホレ]アイウエ[ラタ]", u"アカキエ", "S1イ>カ S2ウ>キ"},
      {"omission beside a substitution", u"[ホレ]アイウエ[ラタ]", u"アキエ", "S1イ>キ O2ウ"},
      {"insertion beside an omission", u"[ホレ]アイウエオ[ラタ]", u"アイエオカ", "O2ウ I5>カ"},
      {"swap is two substitutions", u"[ホレ]アイ[ラタ]", u"イア", "S0ア>イ S1イ>ア"},
      {"repeat missing: reported after the copied", u"[ホレ]アアイ[ラタ]", u"アイ", "O1ア"},
      {"substitution before a missing repeat", u"[ホレ]カアアイ[ラタ]", u"キアイ", "S0カ>キ O2ア"},
      {"empty copy", u"[ホレ]アイ[ラタ]", u"", "O0ア O1イ"},
      {"copy of signs only", u"[ホレ]ア[ラタ]", u"[ホレ][ラタ]", "O0ア"},
      {"unkeyable copy character is wrong", u"[ホレ]アイウ[ラタ]", u"ア漢ウ", "S1イ>漢"},
      {"unkeyable extra character", u"[ホレ]アイ[ラタ]", u"ア☆イ", "I1>☆"},
      {"text outside the copy's signs ignored", u"[ホレ]アイ[ラタ]", u"メモ[ホレ]アイ[ラタ]ヨ", ""},
      {"without signs all of the copy counts", u"[ホレ]アイ[ラタ]", u"メアイ", "I0>メ"},
      {"key text outside its signs not heard", u"ナ[ホレ]アイ[ラタ]ヌ", u"アイ", ""},
      {"Latin letters by code", u"[ホレ]ABC[ラタ]", u"abc", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Describe(ScoreBody(c.key, c.copy)), c.errors) << c.what;
  }
}

TEST(ScoreCopyTest, CountsScoreAndScheme) {
  // One of each kind: 2 substitutions, 1 omission, 1 insertion.
  const std::u16string_view key = u"[ホレ]アイウエオカキクケ[ラタ]";
  const std::u16string_view copy = u"アケウコオカキクケサ";
  CheckResult result = ScoreBody(key, u"アケウコオキクケサ");
  EXPECT_EQ(result.substitutions, 2);
  EXPECT_EQ(result.omissions, 1);
  EXPECT_EQ(result.insertions, 1);
  EXPECT_EQ(result.score, 96);
  EXPECT_TRUE(result.pass);
  EXPECT_EQ(result.scheme.pass_mark, 80);

  result = ScoreBody(key, copy, CheckScheme{10, 30, 5, 90});
  EXPECT_EQ(result.substitutions, 2);
  EXPECT_EQ(result.insertions, 1);
  EXPECT_EQ(result.score, 100 - 2 * 10 - 5);
  EXPECT_FALSE(result.pass);
  EXPECT_EQ(result.scheme.substitution, 10);

  // Never below 0, and a 0 pass mark passes anything.
  result = ScoreBody(key, u"", CheckScheme{1, 50, 1, 0});
  EXPECT_EQ(result.omissions, 9);
  EXPECT_EQ(result.score, 0);
  EXPECT_TRUE(result.pass);
}

// The plain edit distance, the whole table, for comparison.
int EditDistance(std::u16string_view a, std::u16string_view b) {
  std::vector<int> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) {
    row[j] = static_cast<int>(j);
  }
  for (std::size_t i = 1; i <= a.size(); ++i) {
    int diagonal = row[0];
    row[0] = static_cast<int>(i);
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const int up = row[j];
      row[j] = std::min({up + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = up;
    }
  }
  return row[b.size()];
}

// Copies with more errors than a narrow search near the diagonal can hold:
// the script found is still the cheapest.
TEST(ScoreCopyTest, ManyErrorsStillTheCheapestScript) {
  constexpr std::u16string_view kana = u"アイウエオカキクケコサシスセソタチツテトナニヌネノ";
  std::uint32_t state = 12345;
  const auto next = [&](std::uint32_t below) {
    state = state * 1103515245u + 12345u;
    return (state >> 16) % below;
  };
  for (int round = 0; round < 6; ++round) {
    std::u16string key;
    for (int i = 0; i < 300; ++i) {
      key.push_back(kana[next(static_cast<std::uint32_t>(kana.size()))]);
    }
    std::u16string copy = key;
    for (int e = 0; e < 20 + 25 * round; ++e) {
      const std::size_t at = next(static_cast<std::uint32_t>(copy.size()));
      switch (next(3)) {
        case 0:
          copy[at] = kana[next(static_cast<std::uint32_t>(kana.size()))];
          break;
        case 1:
          copy.erase(at, 1);
          break;
        default:
          copy.insert(at, 1, kana[next(static_cast<std::uint32_t>(kana.size()))]);
      }
    }
    if (round == 5) {
      // A long run left out and as long a run added: as long as the key,
      // but the cheapest script strays far from the diagonal.
      copy = copy.substr(40) + std::u16string(40, u'ン');
    }
    const CheckResult result = ScoreBody(u"[ホレ]" + key + u"[ラタ]", copy);
    EXPECT_EQ(result.substitutions + result.omissions + result.insertions, EditDistance(key, copy))
        << "round " << round;
    EXPECT_EQ(result.omissions - result.insertions,
              static_cast<int>(key.size()) - static_cast<int>(copy.size()));
  }
}

TEST(ScoreCopyTest, HeaderFieldsScoredEachOnItsOwn) {
  TelegramFields key;
  key.count = u"一二";
  key.station = u"七〇";
  key.number = u"五九";
  key.time = u"コ10,59";
  key.addressee = u"ミドリ」";
  key.body = u"[ホレ]アイ[ラタ]";
  CheckCopy copy;
  copy.has_header = true;
  copy.fields = key;
  copy.fields.station = u"ハツ七〇";  // keyed as heard: the prefix is no error
  copy.fields.number = u"タナ五八";
  copy.fields.time = u"コ1059";
  copy.fields.addressee = u"ミドリ」ハナ」";
  copy.fields.count = u"";
  const CheckResult result = ScoreCopy(key, copy, {});
  std::map<CheckField, std::string> by_field;
  for (const CheckError& e : result.errors) {
    CheckResult one;
    one.errors.push_back(e);
    by_field[e.field] += Describe(one);
  }
  EXPECT_EQ(by_field[CheckField::kCount], "O0一O1二");
  EXPECT_EQ(by_field[CheckField::kStation], "");
  EXPECT_EQ(by_field[CheckField::kNumber], "S1九>八");
  EXPECT_EQ(by_field[CheckField::kTime], "O3,");
  EXPECT_EQ(by_field[CheckField::kAddressee], "I5>ハI5>ナI5>」");
  EXPECT_EQ(by_field[CheckField::kBody], "");
  // In field order: count before station before number and so on.
  ASSERT_FALSE(result.errors.empty());
  EXPECT_EQ(result.errors.front().field, CheckField::kCount);
  EXPECT_EQ(result.errors.back().field, CheckField::kAddressee);

  // A body alone is scored on the body alone.
  CheckCopy body_only;
  body_only.fields.body = u"アイ";
  EXPECT_TRUE(ScoreCopy(key, body_only, {}).errors.empty());
}

class MapStore : public SettingsStore {
 public:
  std::int32_t ReadInt(std::string_view section, std::string_view key,
                       std::int32_t default_value) override {
    const auto it = values.find(std::string(section) + "/" + std::string(key));
    return it == values.end() ? default_value : it->second;
  }
  bool WriteString(std::string_view, std::string_view, std::string_view) override { return false; }
  std::map<std::string, std::int32_t> values;
};

TEST(CheckSchemeTest, ReadBoundedWithDefaults) {
  MapStore store;
  CheckScheme scheme = ReadCheckScheme(store);
  EXPECT_EQ(scheme.substitution, 1);
  EXPECT_EQ(scheme.omission, 1);
  EXPECT_EQ(scheme.insertion, 1);
  EXPECT_EQ(scheme.pass_mark, 80);
  store.values = {{"Check/Substitution", 3},
                  {"Check/Omission", -4},
                  {"Check/Insertion", 250},
                  {"Check/PassMark", 101}};
  scheme = ReadCheckScheme(store);
  EXPECT_EQ(scheme.substitution, 3);
  EXPECT_EQ(scheme.omission, 0);
  EXPECT_EQ(scheme.insertion, 100);
  EXPECT_EQ(scheme.pass_mark, 100);
}

TEST(CopyTextTest, TelegramOrBodyAndOnlyUtf8) {
  const auto body = ParseCopyText("\xEF\xBB\xBF\xE3\x82\xA2\xE3\x82\xA4\n");
  ASSERT_TRUE(body);
  EXPECT_FALSE(body->has_header);
  EXPECT_EQ(body->fields.body, u"アイ\n");

  const auto telegram = ParseCopyText(
      "[VALA]\xE4\xB8\x80\n[TEXT]\n[\xE3\x83\x9B\xE3\x83\xAC]\xE3\x82\xA2[\xE3\x83\xA9\xE3\x82\xBF]"
      "\n");
  ASSERT_TRUE(telegram);
  EXPECT_TRUE(telegram->has_header);
  EXPECT_EQ(telegram->fields.body, u"[ホレ]ア[ラタ]");

  EXPECT_FALSE(ParseCopyText("\xE3\x82"));
  EXPECT_FALSE(ParseCopyText("\xFF\xFE\x00\x30"));
}

}  // namespace
}  // namespace hoshizora

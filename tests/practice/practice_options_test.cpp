#include "practice/practice_options.h"

#include <gtest/gtest.h>

#include "base/utf8.h"

namespace hoshizora {
namespace {

PracticeOptions Words(LengthRange length) {
  PracticeOptions options;
  options.length = length;
  return options;
}

PracticeOptions Groups(std::u16string characters, LengthRange length = {}) {
  PracticeOptions options;
  options.mode = PracticeMode::kGroups;
  options.group_characters = std::move(characters);
  options.length = length;
  return options;
}

std::optional<PracticeOptionProblem> ProblemOf(const PracticeOptions& options) {
  const auto error = ValidatePracticeOptions(options);
  if (!error) {
    return std::nullopt;
  }
  EXPECT_FALSE(error->message.empty());
  return error->problem;
}

TEST(ValidatePracticeOptions, LengthBounds) {
  EXPECT_EQ(ProblemOf(PracticeOptions{}), std::nullopt);
  EXPECT_EQ(ProblemOf(Words({10, 1000})), std::nullopt);
  EXPECT_EQ(ProblemOf(Words({61, 64})), std::nullopt);  // groups need a multiple of five
  EXPECT_EQ(ProblemOf(Words({9, 60})), PracticeOptionProblem::kLengthOutOfBounds);
  EXPECT_EQ(ProblemOf(Words({60, 1001})), PracticeOptionProblem::kLengthOutOfBounds);
  EXPECT_EQ(ProblemOf(Words({131, 130})), PracticeOptionProblem::kLengthReversed);

  const auto bounds = ValidatePracticeOptions(Words({5, 60}));
  ASSERT_TRUE(bounds);
  EXPECT_EQ(bounds->message, u"長さは10文字から1000文字までの範囲で指定してください。");
}

TEST(ValidatePracticeOptions, GroupCharacterSets) {
  EXPECT_EQ(ProblemOf(Groups(std::u16string(kBasicKana))), std::nullopt);
  EXPECT_EQ(ProblemOf(Groups(u"アアイ")), std::nullopt);
  EXPECT_EQ(ProblemOf(Groups(u"ガパヲ一〇")),
            std::nullopt);  // voiced kana are keyed as kana + mark
  EXPECT_EQ(ProblemOf(Groups(u"アイ", {61, 65})), std::nullopt);
  EXPECT_EQ(ProblemOf(Groups(u"アイ", {61, 64})), PracticeOptionProblem::kNoWholeGroup);
  EXPECT_EQ(ProblemOf(Groups(u"")), PracticeOptionProblem::kNoGroupCharacters);
  EXPECT_EQ(ProblemOf(Groups(u"ア イ")), PracticeOptionProblem::kSeparatorInGroupCharacters);
  EXPECT_EQ(ProblemOf(Groups(u"アイ？")), PracticeOptionProblem::kSeparatorInGroupCharacters);
  EXPECT_EQ(ProblemOf(Groups(u"ア\u3000")), PracticeOptionProblem::kSeparatorInGroupCharacters);
  EXPECT_EQ(ProblemOf(Groups(u"ア😀")), PracticeOptionProblem::kUnkeyableGroupCharacters);

  // The user is told which characters have no code, each once.
  const auto unkeyable = ValidatePracticeOptions(Groups(u"ア。「。"));
  ASSERT_TRUE(unkeyable);
  EXPECT_EQ(unkeyable->message, u"モールス符号にできない文字があります: 。 「");
  EXPECT_EQ(unkeyable->characters, (std::vector<std::u16string>{u"。", u"「"}));
  const auto emoji = ValidatePracticeOptions(Groups(u"ア😀"));
  ASSERT_TRUE(emoji);
  EXPECT_EQ(emoji->characters, std::vector<std::u16string>{u"😀"}) << "a surrogate pair is whole";
  const auto sign = ValidatePracticeOptions(Groups(u"[ホレ]"));
  ASSERT_TRUE(sign);
  EXPECT_EQ(sign->message, u"モールス符号にできない文字があります: [ ]");

  // The set matters only to groups.
  PracticeOptions words = Groups(u"");
  words.mode = PracticeMode::kWords;
  EXPECT_EQ(ProblemOf(words), std::nullopt);
}

TEST(ParseLengthRange, ReadsMinDashMax) {
  const auto range = ParseLengthRange(u"60-130");
  EXPECT_FALSE(range.error);
  EXPECT_EQ(range.range.min, 60);
  EXPECT_EQ(range.range.max, 130);

  const auto single = ParseLengthRange(u"80");
  EXPECT_FALSE(single.error);
  EXPECT_EQ(single.range.min, 80);
  EXPECT_EQ(single.range.max, 80);

  // Too large to be valid, but read without overflowing into a valid number.
  const auto huge = ParseLengthRange(u"99999999999-100");
  EXPECT_FALSE(huge.error);
  EXPECT_GT(huge.range.min, kLongestPracticeBody);

  for (std::u16string_view bad :
       {u"", u"-", u"60-", u"-130", u"60-130-", u"60 - 130", u"60–130", u"６０-130", u"a-b"}) {
    const auto parsed = ParseLengthRange(bad);
    ASSERT_TRUE(parsed.error) << EncodeUtf8(bad);
    EXPECT_EQ(parsed.error->problem, PracticeOptionProblem::kLengthNotARange);
  }
}

}  // namespace
}  // namespace hoshizora

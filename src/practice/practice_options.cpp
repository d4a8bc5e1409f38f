#include "practice/practice_options.h"

#include <algorithm>
#include <utility>

#include "base/unicode.h"
#include "encoding/encode_telegram.h"
#include "encoding/telegram_signs.h"
#include "encoding/text_utils.h"

namespace hoshizora {
namespace {

// Above this a number is out of bounds anyway; stopping here avoids overflow.
constexpr std::int32_t kParseCeiling = 1'000'000;

PracticeOptionError Error(PracticeOptionProblem problem, std::u16string message) {
  return {problem, std::move(message)};
}

std::optional<std::int32_t> ParseAsciiNumber(std::u16string_view text) {
  if (text.empty()) {
    return std::nullopt;
  }
  std::int32_t value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') {
      return std::nullopt;
    }
    value = std::min(value * 10 + (c - u'0'), kParseCeiling);
  }
  return value;
}

bool HasWholeGroup(LengthRange length) {
  const std::int32_t first = (length.min + kPracticeGroupSize - 1) / kPracticeGroupSize;
  return first * kPracticeGroupSize <= length.max;
}

std::optional<PracticeOptionError> CheckGroupCharacters(std::u16string_view characters) {
  if (characters.empty()) {
    return Error(PracticeOptionProblem::kNoGroupCharacters, u"組に使う文字が指定されていません。");
  }
  for (char16_t c : characters) {
    if (IsUncountedCharacter(c)) {
      return Error(PracticeOptionProblem::kSeparatorInGroupCharacters,
                   u"空白、改行、？は組の文字に使えません。");
    }
  }
  // Character by character, so that a set holding a whole sign such as [ホレ]
  // still shows its brackets, which have no code of their own.
  std::vector<std::u16string> unkeyed;
  std::u16string listed;
  for (std::size_t i = 0; i < characters.size();) {
    const std::u16string_view character = characters.substr(i, CharacterUnits(characters, i));
    i += character.size();
    if (!ListUnkeyedCharacters(character).empty() &&
        std::find(unkeyed.begin(), unkeyed.end(), character) == unkeyed.end()) {
      unkeyed.emplace_back(character);
      listed += u' ';
      listed += character;
    }
  }
  if (!unkeyed.empty()) {
    PracticeOptionError error = Error(PracticeOptionProblem::kUnkeyableGroupCharacters,
                                      u"モールス符号にできない文字があります:" + listed);
    error.characters = std::move(unkeyed);
    return error;
  }
  return std::nullopt;
}

}  // namespace

std::optional<PracticeOptionError> ValidatePracticeOptions(const PracticeOptions& options) {
  const LengthRange length = options.length;
  if (length.min < kShortestPracticeBody || length.max > kLongestPracticeBody) {
    return Error(PracticeOptionProblem::kLengthOutOfBounds,
                 u"長さは" + IntToText(kShortestPracticeBody) + u"文字から" +
                     IntToText(kLongestPracticeBody) + u"文字までの範囲で指定してください。");
  }
  if (length.min > length.max) {
    return Error(PracticeOptionProblem::kLengthReversed,
                 u"長さの最小が最大より大きくなっています。");
  }
  if (options.mode == PracticeMode::kGroups) {
    if (!HasWholeGroup(length)) {
      return Error(PracticeOptionProblem::kNoWholeGroup,
                   u"五字ずつの組に分けられる長さが範囲にありません。5の倍数を含む範囲を指定して"
                   u"ください。");
    }
    return CheckGroupCharacters(options.group_characters);
  }
  return std::nullopt;
}

LengthRangeParse ParseLengthRange(std::u16string_view text) {
  const std::size_t dash = text.find(u'-');
  const auto min = ParseAsciiNumber(text.substr(0, dash));
  const auto max =
      dash == std::u16string_view::npos ? min : ParseAsciiNumber(text.substr(dash + 1));
  if (!min || !max) {
    return {{},
            Error(PracticeOptionProblem::kLengthNotARange,
                  u"長さは「60-130」のように、最小と最大の文字数をハイフンでつないで指定してくださ"
                  u"い。")};
  }
  return {{*min, *max}, std::nullopt};
}

}  // namespace hoshizora

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "practice/focus_weights.h"

namespace hoshizora {

enum class PracticeMode {
  kWords,   // telegram-style sentences from the word list
  kGroups,  // five-character groups for Koch-method drills
};

// The 47 kana of the Wabun table, in iroha order.
inline constexpr std::u16string_view kBasicKana =
    u"イロハニホヘトチリヌルヲワカヨタレソツネナラムウノオクヤマケフコエテアサキユメミシヱヒモセス"
    u"ン";

inline constexpr std::int32_t kPracticeGroupSize = 5;

// Body length in counted characters, both ends included.
struct LengthRange {
  std::int32_t min = 60;
  std::int32_t max = 130;
};
inline constexpr std::int32_t kShortestPracticeBody = 10;
inline constexpr std::int32_t kLongestPracticeBody = 1000;

struct PracticeOptions {
  PracticeMode mode = PracticeMode::kWords;
  LengthRange length;
  // Groups mode only. A character given twice counts once.
  std::u16string group_characters{kBasicKana};
  // Practice aimed at weak characters: groups and words lean toward the
  // heavier characters. Empty: every character as likely as another.
  FocusWeights focus{};
};

enum class PracticeOptionProblem {
  kLengthNotARange,
  kLengthOutOfBounds,
  kLengthReversed,
  kNoWholeGroup,
  kNoGroupCharacters,
  kSeparatorInGroupCharacters,
  kUnkeyableGroupCharacters,
};

struct PracticeOptionError {
  PracticeOptionProblem problem;
  std::u16string message;  // for the user, in Japanese
  // kUnkeyableGroupCharacters: the characters without a code, each once, so a
  // front end with messages of its own can still name them.
  std::vector<std::u16string> characters = {};
};

// Nothing when MakePracticeTelegram can honour the options as given.
std::optional<PracticeOptionError> ValidatePracticeOptions(const PracticeOptions& options);

// Reads "MIN-MAX" in ASCII digits ("60-130"); a single number N stands for
// N-N. Only the form is checked here; ValidatePracticeOptions checks the bounds.
struct LengthRangeParse {
  LengthRange range;
  std::optional<PracticeOptionError> error;
};
LengthRangeParse ParseLengthRange(std::u16string_view text);

}  // namespace hoshizora

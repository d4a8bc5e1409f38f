#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "practice/practice_random.h"

namespace hoshizora {

// Keyed character (as the Code table keys it) to how strongly practice
// aimed at weak characters leans toward it. Characters not listed weigh
// kPlainFocusWeight.
using FocusWeights = std::map<std::u16string, std::uint32_t>;

// A character never missed, or never heard yet.
inline constexpr std::uint32_t kPlainFocusWeight = 1000;
// A character written wrong every time it was heard weighs this many times
// a plain one; the weight grows in step with the error rate in between.
inline constexpr std::uint32_t kWeakestFocusFactor = 4;

// The weight of a character written wrong `errors` times in `heard`.
std::uint32_t FocusWeight(int heard, int errors);

// The weight of a text (a group character, a word): that of its heaviest
// keyed character, each folded as keying folds it (ガ weighs as カ or ゛) and
// looked up under its full-size katakana (か and ヵ weigh as カ).
std::uint32_t WeightOfText(std::u16string_view text, const FocusWeights& focus);

// An index into `weights` with a chance in proportion to its weight; every
// weight must be above zero. One draw of `random`.
std::size_t DrawWeighted(const std::vector<std::uint32_t>& weights, PracticeRandom& random);

}  // namespace hoshizora

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "practice/focus_weights.h"
#include "practice/practice_options.h"
#include "practice/practice_random.h"

namespace hoshizora {

// Sentences of entries from `words`, each sentence closed by 」, with 、 now
// and then between entries and, rarely, an entry in （ ）. The counted length
// is drawn from `length` among the lengths the words can fill exactly; the
// result is empty only when the words can fill none. Entries must hold no
// Uncounted characters. With `focus`, an entry is chosen in proportion to
// the weight of its heaviest character; without, all are alike.
std::u16string MakeWordsBody(const std::vector<std::u16string>& words, LengthRange length,
                             PracticeRandom& random, const FocusWeights& focus = {});

// Groups of five characters drawn from `characters` (repeats count once),
// separated by blanks; the number of groups is drawn so that the counted
// length lies in `length`. With `focus`, each character is drawn in
// proportion to its weight; without, all are alike.
std::u16string MakeGroupsBody(std::u16string_view characters, LengthRange length,
                              PracticeRandom& random, const FocusWeights& focus = {});

}  // namespace hoshizora

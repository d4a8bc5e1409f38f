#pragma once

#include <vector>

#include "check/keyed_characters.h"

namespace hoshizora {

// The longest field scored, in keyed characters, on either side: the body
// field of the window holds at most 4095 characters, 8190 when every one is
// a voiced kana. Aligning is quadratic in time, and this keeps its table
// (two bits a pair) near 16 MiB.
inline constexpr std::size_t kLongestCheckedField = 8192;

enum class EditKind { kMatch, kSubstitution, kOmission, kInsertion };

// One step of an edit script from the key to the copy. `key` and `copy` are
// indices into the two sequences: a match or substitution uses one of each;
// an omission uses key[key] and stands before copy[copy] (the copy's length
// at its end); an insertion uses copy[copy] and stands before key[key].
struct EditStep {
  EditKind kind = EditKind::kMatch;
  int key = 0;
  int copy = 0;
};

// A cheapest edit script with unit costs (substitution, omission and
// insertion each cost 1), in order. Of the scripts that cost the same, the
// one that pairs characters as early as possible is taken: reading from the
// start, a pair (match or substitution) wins over an omission, and an
// omission over an insertion. So a substitution is always preferred to an
// omission and an insertion at the same place (アイ copied as イア is two
// substitutions), and a character missing from a run of repeats, or added
// to one, is reported after the ones that were copied. Sequences longer than
// kLongestCheckedField are cut there first.
std::vector<EditStep> AlignKeyedCharacters(const std::vector<KeyedCharacter>& key,
                                           const std::vector<KeyedCharacter>& copy);

}  // namespace hoshizora

#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace hoshizora {

// One keyed character: what keying sends as one code, and where in the text
// it came from. A precomposed voiced kana gives two (ガ: カ, then ゛).
struct KeyedCharacter {
  // The Code table key the character folds to (hiragana and half-width kana
  // fold as keying folds them); for a character of a copy that cannot be
  // keyed, the character itself.
  std::u16string text;
  std::u16string code;     // the Morse code sent; empty when it cannot be keyed
  std::size_t source = 0;  // index of the character it came from
};

// Two keyed characters are the same when keying sends the same code for
// both: a learner who hears it cannot tell い from イ, ァ from ア or 、 from
// ",". A character that cannot be keyed is the same as nothing.
bool SameKeyedCharacter(const KeyedCharacter& a, const KeyedCharacter& b);

// What keying sends for a text: every character folded as EncodeTelegram
// folds it; the signs, Group marks, blanks, tabs, line breaks and ideographic
// spaces send nothing, and nor does a character without a code.
std::vector<KeyedCharacter> KeyedCharactersOf(std::u16string_view text);

// The same for a learner's copy, except that a character that cannot be keyed
// (all of it, a surrogate pair as one) stays as one keyed character without a
// code: it was written, and can never be right.
std::vector<KeyedCharacter> CopiedCharactersOf(std::u16string_view text);

}  // namespace hoshizora

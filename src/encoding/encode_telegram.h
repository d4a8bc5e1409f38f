#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hoshizora {

// Turns a (Marked) telegram text into Code text: blank-terminated Morse tokens.
// Characters that have no code, even after folding, leave no trace.
std::u16string EncodeTelegram(std::u16string_view text);

// The characters of a text that EncodeTelegram leaves out, in order of first
// appearance and without repeats. Blanks, line breaks, the signs and the Group
// mark are not listed; a surrogate pair is listed as one character.
std::vector<std::u16string> ListUnkeyedCharacters(std::u16string_view text);

}  // namespace hoshizora

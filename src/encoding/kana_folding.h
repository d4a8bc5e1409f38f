#pragma once

#include <array>
#include <cstddef>

namespace hoshizora {

// A character rewritten into the forms that the Code table keys: one or two
// characters (a precomposed voiced kana becomes its base kana and a mark).
struct FoldedCharacter {
  std::array<char16_t, 2> chars{};
  std::size_t size = 0;
};

// Folds precomposed voiced and semi-voiced kana, combining sound marks, の and
// small hiragana, the prolonged sound mark, half-width katakana and full-width
// ASCII onto Code table keys. ？ U+FF1F and every other character pass through
// unchanged.
FoldedCharacter FoldForCodeTable(char16_t c);

// The one name under which statistics count a Code table key: a hiragana
// or small kana is keyed with the same code as its full-size katakana (あ,
// ァ and ア sound alike), so all three are counted as ア. Anything else is
// returned unchanged.
char16_t FullSizeKatakanaOf(char16_t c);

}  // namespace hoshizora

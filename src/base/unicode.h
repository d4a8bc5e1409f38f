#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace hoshizora {

// A high half followed by a low half is one character beyond the Basic
// Multilingual Plane; either half alone is no character at all.
constexpr bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
constexpr bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}
constexpr bool IsSurrogate(char32_t c) {
  return c >= 0xD800 && c <= 0xDFFF;
}

// The units of the character at text[i]: 2 for a whole surrogate pair, else 1.
constexpr std::size_t CharacterUnits(std::u16string_view text, std::size_t i) {
  return IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]) ? 2 : 1;
}

// Characters as the user counts them: a surrogate pair is one.
constexpr std::size_t CountCharacters(std::u16string_view text) {
  return text.size() -
         static_cast<std::size_t>(std::count_if(text.begin(), text.end(), IsLowSurrogate));
}

// Appends each character of `more` that `list` does not hold yet.
inline void AppendNewCharacters(std::u16string& list, std::u16string_view more) {
  for (std::size_t i = 0; i < more.size(); i += CharacterUnits(more, i)) {
    const std::u16string_view character = more.substr(i, CharacterUnits(more, i));
    if (list.find(character) == std::u16string::npos) {
      list.append(character);
    }
  }
}

// Where to cut `text` to at most `limit` units without parting a surrogate
// pair: half a pair would be no character on either side of the cut.
constexpr std::size_t CutWithinCharacters(std::u16string_view text, std::size_t limit) {
  if (limit >= text.size()) {
    return text.size();
  }
  return limit > 0 && IsHighSurrogate(text[limit - 1]) && IsLowSurrogate(text[limit]) ? limit - 1
                                                                                      : limit;
}

// Blank, tab, carriage return, line feed and ideographic space: what separates
// the words and lines of a telegram, the tokens of its Code text and the parts
// of a settings line.
constexpr bool IsBlank(char32_t c) {
  return c == U' ' || c == U'\t' || c == U'\r' || c == U'\n' || c == U'\u3000';
}

// The Unicode white space of the Basic Multilingual Plane, ideographic space
// among it: what a number field may hold around its digits.
constexpr bool IsWhiteSpace(char16_t c) {
  return c == u' ' || (c >= u'\t' && c <= u'\r') || c == u'\u3000' || c == u'\u00A0' ||
         c == u'\u1680' || (c >= u'\u2000' && c <= u'\u200A') || c == u'\u2028' || c == u'\u2029' ||
         c == u'\u202F' || c == u'\u205F' || c == u'\u0085';
}

// `text` without what `is_blank` names at either end.
template <typename Char, typename Blank>
constexpr std::basic_string_view<Char> Trim(std::basic_string_view<Char> text, Blank is_blank) {
  while (!text.empty() && is_blank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && is_blank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

}  // namespace hoshizora

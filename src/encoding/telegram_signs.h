#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace hoshizora {

inline constexpr std::u16string_view kStartSign = u"[ホレ]";
inline constexpr std::u16string_view kEndSign = u"[ラタ]";
inline constexpr char16_t kGroupMark = u'？';
inline constexpr int kGroupSize = 60;

// Blank, tab, carriage return, line feed and ideographic space: what separates
// the words and lines of a telegram, and the tokens of its Code text. Never keyed.
bool IsTelegramBlank(char16_t c);

// The Group mark and the telegram blanks: present in the body but never counted.
bool IsUncountedCharacter(char16_t c);

// Where the telegram body lies: strictly between the first Start sign and the
// first End sign, when both exist and the End sign comes later.
struct BodySpan {
  std::size_t begin;  // first body character (just after the Start sign)
  std::size_t end;    // position of the End sign
};
std::optional<BodySpan> FindTelegramBody(std::u16string_view text);

}  // namespace hoshizora

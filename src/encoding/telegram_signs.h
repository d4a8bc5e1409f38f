#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace hoshizora {

inline constexpr std::u16string_view kStartSign = u"[ホレ]";
inline constexpr std::u16string_view kEndSign = u"[ラタ]";
inline constexpr char16_t kGroupMark = u'？';
inline constexpr int kGroupSize = 60;

// The Group mark and the blanks (IsBlank): present in the body but never
// counted, never keyed.
bool IsUncountedCharacter(char16_t c);

// Where the telegram body lies: strictly between the first Start sign and the
// first End sign, when both exist and the End sign comes later.
struct BodySpan {
  std::size_t begin;  // first body character (just after the Start sign)
  std::size_t end;    // position of the End sign
};
std::optional<BodySpan> FindTelegramBody(std::u16string_view text);

}  // namespace hoshizora

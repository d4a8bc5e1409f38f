#include "encoding/telegram_signs.h"

#include "base/unicode.h"

namespace hoshizora {

bool IsUncountedCharacter(char16_t c) {
  return c == kGroupMark || IsBlank(c);
}

std::optional<BodySpan> FindTelegramBody(std::u16string_view text) {
  const std::size_t a = text.find(kStartSign);
  const std::size_t b = text.find(kEndSign);
  if (a == std::u16string_view::npos || b == std::u16string_view::npos || b <= a) {
    return std::nullopt;
  }
  // Both signs open with '[' and the Start sign holds only one, so b >= a + 4.
  return BodySpan{a + kStartSign.size(), b};
}

}  // namespace hoshizora

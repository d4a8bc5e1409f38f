#include "encoding/telegram_signs.h"

namespace hoshizora {

bool IsTelegramBlank(char16_t c) {
  switch (c) {
    case u' ':
    case u'\t':
    case u'\r':
    case u'\n':
    case u'\u3000':
      return true;
    default:
      return false;
  }
}

bool IsUncountedCharacter(char16_t c) {
  return c == kGroupMark || IsTelegramBlank(c);
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

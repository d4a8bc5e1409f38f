#include "encoding/group_marks.h"

#include "base/unicode.h"

#include "encoding/telegram_signs.h"

namespace hoshizora {

std::u16string InsertGroupMarks(std::u16string_view text) {
  const auto body = FindTelegramBody(text);
  if (!body) {
    return std::u16string(text);
  }
  std::u16string result;
  result.reserve(text.size() + text.size() / kGroupSize + 8);
  result.append(text.substr(0, body->begin));
  int counter = 0;
  for (std::size_t i = body->begin; i < body->end;) {
    const char16_t c = text[i];
    const std::size_t length = CharacterUnits(text, i);
    result.append(text.substr(i, length));
    i += length;
    if (!IsUncountedCharacter(c) && ++counter == kGroupSize) {
      result.push_back(kGroupMark);
      counter = 0;
    }
  }
  result.append(text.substr(body->end));
  return result;
}

std::int32_t CountBodyCharacters(std::u16string_view text) {
  const auto body = FindTelegramBody(text);
  if (!body) {
    return 0;
  }
  std::int32_t count = 0;
  for (std::size_t i = body->begin; i < body->end; i += CharacterUnits(text, i)) {
    if (!IsUncountedCharacter(text[i])) {
      ++count;
    }
  }
  return count;
}

}  // namespace hoshizora

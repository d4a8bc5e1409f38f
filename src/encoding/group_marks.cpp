#include "encoding/group_marks.h"

#include "encoding/telegram_signs.h"

namespace hoshizora {
namespace {

// The units of the character at text[i] inside the body: 2 for both halves of
// a surrogate pair, which is one character and never split by a mark, else 1.
std::size_t CharacterLength(std::u16string_view text, std::size_t i, std::size_t end) {
  const bool high = text[i] >= 0xD800 && text[i] <= 0xDBFF;
  const bool low_follows = i + 1 < end && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
  return high && low_follows ? 2 : 1;
}

}  // namespace

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
    const std::size_t length = CharacterLength(text, i, body->end);
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
  for (std::size_t i = body->begin; i < body->end; i += CharacterLength(text, i, body->end)) {
    if (!IsUncountedCharacter(text[i])) {
      ++count;
    }
  }
  return count;
}

}  // namespace hoshizora

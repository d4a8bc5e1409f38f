#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace hoshizora {

// Copies the text and puts a Group mark after every 60th counted body
// character. Text outside the body is never marked. A surrogate pair counts
// as one character.
std::u16string InsertGroupMarks(std::u16string_view text);

// The number of counted characters in the telegram body (0 without a body),
// a surrogate pair counting once.
std::int32_t CountBodyCharacters(std::u16string_view text);

}  // namespace hoshizora

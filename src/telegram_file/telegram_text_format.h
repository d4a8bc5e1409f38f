#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "encoding/telegram_fields.h"

namespace hoshizora {

inline constexpr std::size_t kLargestTelegramFile = 1024 * 1024;

// The whole file: byte order mark, five tagged lines, "[TEXT]", the body and
// a closing line feed.
std::string SerializeTelegramText(const TelegramFields& fields);

// Reads a file's bytes back into the six fields. Content is never rejected;
// a zero byte ends the text. A multi-line addressee's further lines (untagged
// lines between "[VALE]" and "[TEXT]") rejoin it, and the body loses the line
// feed that closes the file's last line, so a save and load round trip gives
// back exactly the fields that were saved.
TelegramFields ParseTelegramText(std::string_view bytes);

}  // namespace hoshizora

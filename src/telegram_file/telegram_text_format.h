#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/limits.h"
#include "encoding/telegram_fields.h"

namespace hoshizora {

// The whole file: byte order mark, five tagged lines, "[TEXT]", the body and
// a closing line feed.
std::string SerializeTelegramText(const TelegramFields& fields);

// Reads a file's bytes (decoded by DecodeTelegramText) back into the six
// fields. Content is never rejected. A multi-line addressee's further lines (untagged
// lines between "[VALE]" and "[TEXT]") rejoin it, and the body loses the line
// feed that closes the file's last line, so a save and load round trip gives
// back exactly the fields that were saved.
TelegramFields ParseTelegramText(std::string_view bytes);

// Whether the bytes hold a telegram at all: some line begins with one of the
// six tags. An empty file, or text saved from elsewhere, does not.
bool HoldsTelegram(std::string_view bytes);

// The file's text: UTF-8 (with or without its byte order mark), or UTF-16 in
// either byte order when it starts with that byte order mark, as Windows
// editors save "Unicode" text. A zero character ends the text; what cannot
// be decoded becomes U+FFFD.
std::u16string DecodeTelegramText(std::string_view bytes);

}  // namespace hoshizora

#pragma once

#include <string>
#include <vector>

#include "encoding/telegram_fields.h"
#include "platform/dialog.h"

namespace hoshizora {

// The six fields as the commands read them: each cut to its buffer (99, 99,
// 99, 99, 511 and 4095 characters). `cut_notes` gets one line per field that
// was longer, so the command can tell the user what it left out.
TelegramFields ReadTelegramFields(Dialog& dialog, std::vector<std::u16string>& cut_notes);

// Puts the six fields into their controls, in the order count, station,
// number, time, addressee, body.
void WriteTelegramFields(Dialog& dialog, const TelegramFields& fields);

// The closing message's lines about cut fields, joined for a message box.
std::u16string JoinLines(const std::vector<std::u16string>& lines);

}  // namespace hoshizora

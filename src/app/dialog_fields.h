#pragma once

#include <string>
#include <vector>

#include "encoding/telegram_fields.h"
#include "platform/dialog.h"

namespace hoshizora {

// The six fields as typed, whole.
TelegramFields ReadWholeTelegramFields(Dialog& dialog);

// The six fields as the commands read them: cut to their buffers.
TelegramFields ReadTelegramFields(Dialog& dialog, std::vector<std::u16string>& cut_notes);

// Puts the six fields into their controls, in the order count, station,
// number, time, addressee, body.
void WriteTelegramFields(Dialog& dialog, const TelegramFields& fields);

}  // namespace hoshizora

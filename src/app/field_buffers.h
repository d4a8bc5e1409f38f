#pragma once

#include <string>
#include <vector>

#include "encoding/telegram_fields.h"

namespace hoshizora {

// The six fields cut to the buffers the dialog's reads use (99, 99, 99, 99,
// 511 and 4095 characters). `cut_notes` gets one line per field that was
// longer, so the command can tell the user what it left out.
TelegramFields CutToFieldBuffers(TelegramFields fields, std::vector<std::u16string>& cut_notes);

}  // namespace hoshizora

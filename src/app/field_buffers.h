#pragma once

#include <string>
#include <vector>

#include "encoding/telegram_fields.h"

namespace hoshizora {

// The six fields cut to the buffers the dialog's reads use (99, 99, 99, 99,
// 511 and 4095 UTF-16 units), one unit fewer where the last would split a
// surrogate pair. `cut_notes` gets one line per field that was longer, naming
// how many characters it left out.
TelegramFields CutToFieldBuffers(TelegramFields fields, std::vector<std::u16string>& cut_notes);

}  // namespace hoshizora

#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/local_time.h"
#include "encoding/telegram_fields.h"

namespace hoshizora {

// The sample telegram; station, number and time come from `now`, or from
// 12:34 on the 15th when the clock could not be read.
TelegramFields MakeDefaultTelegram(const std::optional<LocalTime>& now);

// Two kanji digits of the last two decimal digits; negative values give 〇〇.
std::u16string KanjiTwoDigits(std::int32_t value);

}  // namespace hoshizora

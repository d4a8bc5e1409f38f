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

// The decimal text of n with each character replaced by its kanji digit, as
// the count field is written; a minus sign becomes 〇.
std::u16string DecimalInKanjiDigits(std::int32_t n);

// The time field's pattern: コ, the hour without a leading zero, a comma and
// the minute in two digits ("コ8,19").
std::u16string TelegramTimeText(int hour, int minute);

}  // namespace hoshizora

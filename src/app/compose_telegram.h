#pragma once

#include <string>

#include "encoding/telegram_fields.h"

namespace hoshizora {

// The display telegram and the keyed one (station and number decorated with
// ハツ and タナ when they are kanji numerals): the five header fields on lines
// of their own, then the body.
std::u16string ComposeDisplayTelegram(const TelegramFields& fields);
std::u16string ComposeKeyedTelegram(const TelegramFields& fields);
std::u16string DecorateStation(const std::u16string& station);
std::u16string DecorateNumber(const std::u16string& number);

}  // namespace hoshizora

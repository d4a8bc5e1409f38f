#pragma once

#include <cstdint>

#include "encoding/telegram_fields.h"
#include "practice/practice_options.h"

namespace hoshizora {

// A complete telegram for reception practice: a body between the Start and
// End signs made as `options` ask, its count in kanji digits, a station and a
// number of two kanji digits, a time in the sample's pattern and a three-part
// addressee. The same options and seed give the same telegram everywhere.
// Options that ValidatePracticeOptions rejects are replaced by the defaults
// of their mode.
TelegramFields MakePracticeTelegram(const PracticeOptions& options, std::uint64_t seed);

}  // namespace hoshizora

#pragma once

#include "check/check_result.h"
#include "encoding/telegram_fields.h"
#include "history/history_record.h"

namespace hoshizora {

// The history record of a scored copy: its counts, score, pass mark and the
// tallies of the key's keyed characters in the fields that were scored (the
// body, and the header fields when the copy had them). Each keyed character
// is heard once per time it was keyed; a substitution or an omission counts
// against the character expected, and a substitution is also a confusion.
// Characters keyed alike count as one (あ, ァ and ア as ア).
// An insertion belongs to no key character and is only counted. The time,
// key name, seed and speeds are the caller's to fill in.
HistoryRecord RecordOfCheck(const TelegramFields& key, const CheckCopy& copy,
                            const CheckResult& result);

}  // namespace hoshizora

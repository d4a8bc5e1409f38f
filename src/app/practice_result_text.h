#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "check/check_result.h"
#include "encoding/telegram_fields.h"
#include "history/history_stats.h"

namespace hoshizora {

// The practice dialog's result box after 「採点」: the score and whether it
// passes, the counts, the deductions used, one line per error (field, place
// in the key counted from 1, kind, what was expected and written) and the
// marked pages written. Lines end in CR LF, as multi-line fields do.
std::u16string CheckResultText(const CheckResult& result,
                               const std::vector<std::filesystem::path>& pages);

// The characters the practice history shows written wrong most often, worst
// first, as the result box ends after a score (whose text ends with a line
// break): a line break, making a blank line, then one line; nothing when no
// character has been written wrong yet.
std::u16string WeakestCharactersText(const HistorySummary& history);

// The answer key as 「答えを見る」 shows it: the header fields, then the body.
std::u16string AnswerText(const TelegramFields& key);

// The same without the word 答え, as the sending dialog shows what to send.
std::u16string TelegramText(const TelegramFields& key);

}  // namespace hoshizora

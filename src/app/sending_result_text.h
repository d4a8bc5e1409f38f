#pragma once

#include <string>

#include "check/check_result.h"
#include "decode/decoder.h"
#include "decode/timing_feedback.h"
#include "encoding/telegram_fields.h"

namespace hoshizora {

// The sending dialog's result box for a decoded recording, in plain Japanese
// and CR LF lines: what was read; against a telegram, the decoded body with
// the characters that differ marked, the score and the errors; then how the
// keying was timed and where a listener may mishear it.
// A place a listener may mishear, as a sentence: 「ム と ヘ の間隔が短く、タ に
// 聞こえます」, 「ヲ の途中の間隔が長く、イ と ヨ に聞こえます」.
std::u16string AtRiskSentence(const AtRisk& risk);

std::u16string SendingResultText(const DecodeResult& decoded, const TimingFeedback& feedback,
                                 const TelegramFields* key, const CheckResult* score);

}  // namespace hoshizora

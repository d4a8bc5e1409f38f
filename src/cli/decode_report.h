#pragma once

#include <string>

#include "base/fixed_decimal.h"
#include "decode/decoder.h"
#include "decode/timing_feedback.h"

namespace hoshizora {

// The decoded text on its own line, then the timing feedback, for a terminal.
std::string DecodeReportText(const DecodeResult& decoded, const TimingFeedback& feedback);

// One JSON object: text, body, the signs found, tone, speed and timing
// figures, and the characters at risk.
std::string DecodeReportJson(const DecodeResult& decoded, const TimingFeedback& feedback);

}  // namespace hoshizora

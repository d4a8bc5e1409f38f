#pragma once

#include <string>

#include "decode/decoder.h"
#include "decode/timing_feedback.h"

namespace hoshizora {

// `value` rounded to `decimals` places, by integer arithmetic so that every
// C library prints the same digits.
std::string FixedDecimal(double value, int decimals);

// The decoded text on its own line, then the timing feedback, for a terminal.
std::string DecodeReportText(const DecodeResult& decoded, const TimingFeedback& feedback);

// One JSON object: text, body, the signs found, tone, speed and timing
// figures, and the characters at risk.
std::string DecodeReportJson(const DecodeResult& decoded, const TimingFeedback& feedback);

}  // namespace hoshizora

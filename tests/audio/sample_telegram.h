#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/output_command.h"
#include "encoding/default_telegram.h"
#include "encoding/encode_telegram.h"
#include "encoding/group_marks.h"

namespace hoshizora::testing {

// The clock of the run whose WAV was pinned before the keying options existed.
inline constexpr LocalTime kPinnedRunTime{2026, 12, 7, 10, 44, 8};

// The sample telegram's Code text, made the way the output command makes it.
inline std::u16string SampleCodeText(const LocalTime& now = kPinnedRunTime) {
  const TelegramFields fields = MakeDefaultTelegram(now);
  return EncodeTelegram(InsertGroupMarks(ComposeKeyedTelegram(fields)));
}

// The 16-bit samples after a WAV's 44-byte header.
inline std::vector<std::int16_t> WavSamples(const std::string& bytes) {
  std::vector<std::int16_t> samples;
  for (std::size_t at = 44; at + 1 < bytes.size(); at += 2) {
    samples.push_back(static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[at]) |
                                                (static_cast<std::uint8_t>(bytes[at + 1]) << 8)));
  }
  return samples;
}

}  // namespace hoshizora::testing

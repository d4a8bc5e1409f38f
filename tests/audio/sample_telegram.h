#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/compose_telegram.h"
#include "base/local_time.h"
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
inline std::vector<std::int16_t> WavSamples(std::string_view bytes) {
  std::vector<std::int16_t> samples(bytes.size() < 44 ? 0 : (bytes.size() - 44) / 2);
  const auto* b = reinterpret_cast<const std::uint8_t*>(bytes.data()) + 44;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    samples[i] = static_cast<std::int16_t>(b[2 * i] | (b[2 * i + 1] << 8));
  }
  return samples;
}

// The whole file in one read: minutes of audio are read often in these tests.
inline std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes(static_cast<std::size_t>(std::filesystem::file_size(path)), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

}  // namespace hoshizora::testing

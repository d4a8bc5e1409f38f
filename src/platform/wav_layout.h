#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace hoshizora {

// What a player needs of a PCM WAV: its format and where its samples start.
struct WavLayout {
  int channels = 0;
  int sample_rate = 0;
  int bits = 0;  // 8 or 16
  std::uint64_t data_offset = 0;
};

// The layout of a PCM WAV of 8- or 16-bit samples, one or two channels, from
// the file's first bytes (kWavHeadBytes are enough for every WAV we write and
// for the usual chunks before the samples); nothing for anything else.
inline constexpr std::size_t kWavHeadBytes = 4096;
std::optional<WavLayout> ReadWavLayout(std::string_view head);

}  // namespace hoshizora

#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace hoshizora {

// Bounds of what is read: a practice recording is minutes long, and the
// samples are kept as floats, so the longest input is an hour at 48 kHz
// (half an hour at 96 kHz). The caller reads at most kLargestWavBytes.
inline constexpr std::int32_t kLowestWavRate = 8000;
inline constexpr std::int32_t kHighestWavRate = 96000;
inline constexpr std::uint64_t kMostWavFrames = 3600ULL * 48000;
inline constexpr std::uint64_t kLargestWavBytes = 1ULL << 30;

enum class WavReadStatus {
  kRead,
  kNotWav,          // no RIFF/WAVE header, or no fmt or data chunk
  kBadFormat,       // a fmt chunk that is too short or contradicts itself
  kUnsupported,     // an encoding other than PCM 8/16/24/32 or float 32, or over two channels
  kRateOutOfRange,  // outside kLowestWavRate to kHighestWavRate
  kTooLong,         // over kMostWavFrames, or the bytes over kLargestWavBytes
};

// Mono audio, samples in [-1, 1] (stereo is mixed down).
struct AudioClip {
  std::int32_t rate = 0;
  std::vector<float> samples;
};

struct WavRead {
  WavReadStatus status = WavReadStatus::kNotWav;
  AudioClip clip;    // empty unless kRead
  int channels = 0;  // as the header says, when it could be read
  int bits = 0;      // bits per sample, likewise
  bool is_float = false;
  // Whole frames found in the data chunk; a data chunk cut short by the end
  // of the file (a recording that was not closed) is read as far as it goes.
  std::uint64_t frames = 0;
};

// Reads a RIFF WAVE file held in memory, refusing more than `most_frames`
// frames (the bound is a parameter only for tests). Never throws.
WavRead ReadWav(std::string_view bytes, std::uint64_t most_frames = kMostWavFrames);

}  // namespace hoshizora

#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "platform/system.h"

namespace hoshizora {

inline constexpr std::int32_t kSampleRate = 44100;

enum class WavStatus {
  kWritten,
  kBadSpeed,      // the unit length is not positive: nothing written
  kTooLong,       // the audio would not fit the WAV size fields: nothing written
  kCannotCreate,  // the file could not be created
  kWriteFailed,   // a write or seek failed; the file is incomplete
};

struct WavResult {
  WavStatus status = WavStatus::kCannotCreate;
  std::uint64_t samples = 0;  // samples written after the header
};

// Called now and then while samples are written, with the share done (0 to 1).
using WavProgress = std::function<void(double)>;

inline constexpr int kMaxRiseMs = 20;
inline constexpr int kMinEffectiveCpm = 20;

// What learners ask of keyed audio beyond the exact rectangular keying. Both
// are off by default, and off the WAV is byte for byte the plain one. A value
// outside its range is taken as off: bounding is the caller's job.
struct KeyingOptions {
  // 1 to kMaxRiseMs: every element fades in and out over this many ms.
  int rise_ms = 0;
  // kMinEffectiveCpm up to below the speed: Farnsworth spacing at this
  // overall pace. 0, or the speed itself, is plain spacing.
  int effective_cpm = 0;
};

// Keys the Code text as a sine tone into base path + ".wav" (44.1 kHz, mono,
// 16-bit PCM), written through the system's file seam. The unit length is
// UnitLengthMs(speed); blanks separate the tokens.
WavResult WriteMorseWav(System& system, const std::filesystem::path& base_path,
                        std::u16string_view code_text, std::int32_t frequency, std::int32_t speed,
                        const WavProgress& progress = {}, const KeyingOptions& keying = {});

// 12000 / (speed + 10) ms, truncated; 0 when that is not positive (including
// the speeds where speed + 10 does not fit 32 bits).
std::int32_t UnitLengthMs(std::int32_t speed);

// Samples in a tone or pause of `ms` milliseconds (0 for lengths that round
// to nothing or less).
std::int32_t SampleCount(std::int32_t ms);

}  // namespace hoshizora

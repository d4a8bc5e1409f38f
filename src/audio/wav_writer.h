#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/keying_options.h"
#include "platform/system.h"

namespace hoshizora {

inline constexpr std::int32_t kSampleRate = 44100;

enum class WavStatus {
  kWritten,
  kBadSpeed,      // the unit length is not positive: nothing written
  kTooLong,       // the audio would not fit the WAV size fields: nothing written
  kCannotCreate,  // the file could not be created
  kWriteFailed,   // a write failed: nothing is left under the WAV's name
  kCancelled,     // stopped on request: nothing is left under the WAV's name
};

struct WavResult {
  WavStatus status = WavStatus::kCannotCreate;
  std::uint64_t samples = 0;  // samples written after the header
};

// Called now and then while samples are written, with the share done (0 to 1).
using WavProgress = std::function<void(double)>;

// Keys the Code text as a sine tone into base path + ".wav" (44.1 kHz, mono,
// 16-bit PCM), written through the system's file seam. The unit length is
// UnitLengthMs(speed); blanks separate the tokens. A keying option outside its
// range is taken as off: bounding it is the caller's job. The file is written
// under a hidden temporary name and takes the WAV's name only when whole, so
// that no interrupted run leaves a WAV whose header claims no data; `cancel`
// stops it early.
WavResult WriteMorseWav(System& system, const std::filesystem::path& base_path,
                        std::u16string_view code_text, std::int32_t frequency, std::int32_t speed,
                        const WavProgress& progress = {}, const KeyingOptions& keying = {},
                        const CancelFlag* cancel = nullptr);

// A whole WAV file of mono 16-bit PCM holding `samples` at `rate` per second;
// nothing when they do not fit its size fields.
std::optional<std::string> Pcm16MonoWav(std::int32_t rate, std::span<const std::int16_t> samples);

// 12000 / (speed + 10) ms, truncated; 0 when that is not positive (including
// the speeds where speed + 10 does not fit 32 bits).
std::int32_t UnitLengthMs(std::int32_t speed);

// The temporary name the WAV is written under: hidden, beside it.
std::filesystem::path PartialWavPath(const std::filesystem::path& base_path);

// Samples in a tone or pause of `ms` milliseconds (0 for lengths that round
// to nothing or less).
std::int32_t SampleCount(std::int32_t ms);

}  // namespace hoshizora

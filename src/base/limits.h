#pragma once

#include <cstddef>
#include <string>

namespace hoshizora {

// The bounds that the settings, the window, the command line and the run all
// keep; every text that quotes one is built from it.

// The tone, in Hz.
inline constexpr int kMinFrequency = 100;
inline constexpr int kMaxFrequency = 2000;
inline constexpr int kDefaultFrequency = 440;

// The keying speed, in characters per minute.
inline constexpr int kMinSpeed = 20;
inline constexpr int kMaxSpeed = 200;
inline constexpr int kDefaultSpeed = 100;

// The keying options: the rise time in ms (0 is off), and the effective speed
// from this up to the keying speed (the speed itself is off).
inline constexpr int kMaxRiseMs = 20;
inline constexpr int kMinEffectiveCpm = 20;

// The largest files read whole, in bytes: a telegram file, and a text the
// command line takes on standard input.
inline constexpr std::size_t kMiB = 1024 * 1024;
inline constexpr std::size_t kLargestTelegramFile = 1 * kMiB;
inline constexpr std::size_t kLargestTextInput = 16 * kMiB;

// A size limit as texts quote it: "1 MiB".
inline std::string MiBText(std::size_t bytes) {
  return std::to_string(bytes / kMiB) + " MiB";
}

}  // namespace hoshizora

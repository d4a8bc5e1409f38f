#pragma once

#include "base/limits.h"

namespace hoshizora {

// What learners ask of keyed audio beyond the exact rectangular keying. Both
// are off by default, and off the WAV is byte for byte the plain one. The
// audio, the listing header, the settings and the windows all speak of them,
// so they live down here with no behaviour of their own.
struct KeyingOptions {
  // 1 to kMaxRiseMs: every element fades in and out over this many ms.
  // 0 is off.
  int rise_ms = 0;
  // kMinEffectiveCpm up to below the speed: Farnsworth spacing at this
  // overall pace. 0, or the speed itself, is plain spacing.
  int effective_cpm = 0;

  bool operator==(const KeyingOptions&) const = default;
};

}  // namespace hoshizora

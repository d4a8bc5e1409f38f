#pragma once

#include "base/keying_options.h"
#include "platform/settings_store.h"

namespace hoshizora {

// RiseMs as read or typed: below 0 is off (0), above the longest ramp is the
// longest ramp, as the other keys are moved to their nearer bound.
int BoundRiseMs(int ms);

// EffectiveCpm against the keying speed, 0 meaning off. 0 or less (a missing
// or unreadable key) is off; below the slowest effective speed is the slowest;
// the speed or above is its upper bound, the speed, where spacing is plain: off.
int BoundEffectiveCpm(int cpm, int speed);

// Both options bounded for `speed`, off written as 0. The output run bounds
// again against the speed it keys at, which may have changed since loading.
KeyingOptions BoundKeying(const KeyingOptions& keying, int speed);

// RiseMs and EffectiveCpm from section General, bounded for `speed`
// (the bounded Cpm); missing keys are off.
KeyingOptions ReadKeyingSettings(SettingsStore& store, int speed);

// Writes RiseMs and EffectiveCpm as given; the caller bounds them first.
void WriteKeyingSettings(SettingsStore& store, const KeyingOptions& keying);

}  // namespace hoshizora

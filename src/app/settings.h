#pragma once

#include <optional>

#include "base/local_time.h"
#include "platform/dialog.h"
#include "platform/settings_store.h"

namespace hoshizora {

inline constexpr int kDefaultFrequency = 440;
inline constexpr int kDefaultSpeed = 100;
inline constexpr int kMinFrequency = 100;
inline constexpr int kMaxFrequency = 2000;
inline constexpr int kMinSpeed = 20;
inline constexpr int kMaxSpeed = 200;

int BoundFrequency(int hz);
int BoundSpeed(int cpm);

// Fills the tone fields and spins from the settings, the telegram fields with
// the sample telegram, and the options.
void LoadSettings(Dialog& dialog, SettingsStore& store, const std::optional<LocalTime>& now);

// Writes FreqHz and Cpm from the tone fields, bounded.
void SaveFrequencyAndSpeed(Dialog& dialog, SettingsStore& store);

// Writes OpenAudio, OpenTextJpg and OpenWabunDir from the option controls.
void SaveOptions(Dialog& dialog, SettingsStore& store);

}  // namespace hoshizora

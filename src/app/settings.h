#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "app/tone_settings.h"
#include "base/keying_options.h"
#include "base/local_time.h"
#include "platform/dialog.h"
#include "platform/settings_store.h"

namespace hoshizora {

// Fills the tone fields and spins from the settings, the telegram fields with
// the sample telegram, and the options.
void LoadSettings(Dialog& dialog, SettingsStore& store, const std::optional<LocalTime>& now);

// Writes FreqHz and Cpm from the tone fields, bounded. A field reads as its
// first 30 characters; a 0 not typed as "0..." gives the default.
void SaveFrequencyAndSpeed(Dialog& dialog, SettingsStore& store);

// Writes RiseMs and EffectiveCpm, bounded for the speed that
// SaveFrequencyAndSpeed writes: an effective speed the new speed does not
// exceed is off.
void SaveKeying(Dialog& dialog, SettingsStore& store, const KeyingOptions& keying);

// Writes OpenAudio, OpenTextJpg and OpenWabunDir from the option controls.
void SaveOptions(Dialog& dialog, SettingsStore& store);

// The stored tone settings, bounded, or the defaults.
int StoredFrequency(SettingsStore& store);
int StoredSpeed(SettingsStore& store);
// RiseMs and EffectiveCpm, bounded for the stored speed; missing keys are off.
KeyingOptions StoredKeying(SettingsStore& store);

// Says that the settings file at `path` could not be read and the defaults
// are used; the file is left as it is.
std::u16string UnreadableSettingsMessage(const std::filesystem::path& path);

// The speed field as the close path saves it: bounded, the default when it
// holds no number.
int SpeedToSave(Dialog& dialog);

}  // namespace hoshizora

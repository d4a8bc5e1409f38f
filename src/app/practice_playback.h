#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

#include "audio/wav_writer.h"
#include "base/keying_options.h"
#include "encoding/telegram_fields.h"
#include "platform/system.h"

namespace hoshizora {

// The WAV a practice run left beside its answer key "<name>_telegram.txt":
// "<name>.wav" in the same folder. Nothing when the key is named otherwise or
// the run has none (its encoder turned the WAV into an MP3).
std::optional<std::filesystem::path> PracticeFolderWav(System& system,
                                                       const std::filesystem::path& key_file);

// Keys the telegram as an output run keys it (fields cut to the dialog's
// buffers, Group marks inserted) into base_path + ".wav", for playing a key
// that has no WAV of its own.
WavStatus WriteTelegramWav(System& system, const TelegramFields& fields, std::int32_t frequency,
                           std::int32_t speed, const KeyingOptions& keying,
                           const std::filesystem::path& base_path);

}  // namespace hoshizora

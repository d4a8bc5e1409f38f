#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "audio/wav_writer.h"
#include "platform/system.h"

namespace hoshizora {

struct AudioOutcome {
  enum class Kind {
    kMp3Written,            // the MP3 replaced the WAV
    kWavOnlyNoEncoder,      // no encoder beside the executable: the WAV is the result
    kWavOnlyEncoderFailed,  // the encoder did not give an MP3; the WAV is kept
    kCancelled,             // the encoder wait was ended; the WAV is kept
    kFailed,                // no usable audio file (wav_status says why, kCancelled included)
  };
  Kind kind = Kind::kFailed;
  WavStatus wav_status = WavStatus::kCannotCreate;
  // For kWavOnlyEncoderFailed: the encoder's exit status, or one of the three below.
  int encoder_exit_code = 0;
  // The file left behind, whole. Empty for kFailed, and when an encoder that
  // failed harmed the WAV and no copy of it could be kept.
  std::filesystem::path audio_path;
};

inline constexpr int kEncoderNotStarted = -1;
inline constexpr int kEncoderStatusLost = -2;        // it ran, but how it ended is unknown
inline constexpr int kEncoderOutputIncomplete = -3;  // it said it succeeded; the MP3 is not whole

// The encoder's file name beside the executable.
#ifdef _WIN32
inline constexpr std::u16string_view kEncoderName = u"lame.exe";
#else
inline constexpr std::u16string_view kEncoderName = u"lame";
#endif

// What to key and where: the Code text, its tone and keying, and the base
// path the extensions are added to.
struct AudioJob {
  std::u16string_view code_text;
  std::int32_t frequency = 0;
  std::int32_t speed = 0;
  std::filesystem::path base_path;
  std::filesystem::path encoder_folder;  // where the encoder is looked for, and only there
  KeyingOptions keying{};                // off unless the request asks for it
};

// Writes base path + ".wav", then has the encoder turn it into base path +
// ".mp3". The WAV is deleted only when the encoder's exit status was read as
// success and the MP3 is whole (CheckMp3); otherwise what the encoder wrote
// is removed and the WAV stays, put back whole from a copy kept aside if the
// encoder deleted or cut it short. A WAV that is not whole is never left.
AudioOutcome WriteTelegramAudio(System& system, const AudioJob& job, const CancelFlag* cancel);

}  // namespace hoshizora

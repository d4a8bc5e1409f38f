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
    kFailed,                // no usable audio file
  };
  Kind kind = Kind::kFailed;
  WavStatus wav_status = WavStatus::kCannotCreate;
  // For kWavOnlyEncoderFailed: the encoder's exit status, or one of the two below.
  int encoder_exit_code = 0;
  std::filesystem::path audio_path;  // the file left behind, empty for kFailed
};

inline constexpr int kEncoderNotStarted = -1;
inline constexpr int kEncoderStatusLost = -2;  // it ran, but how it ended is unknown

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
// ".mp3"; the WAV is deleted only when a non-empty MP3 exists after a
// successful exit.
AudioOutcome WriteTelegramAudio(System& system, const AudioJob& job, const CancelFlag* cancel);

}  // namespace hoshizora

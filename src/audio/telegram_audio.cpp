#include "audio/telegram_audio.h"

#include "platform/paths.h"

namespace hoshizora {

AudioOutcome WriteTelegramAudio(System& system, const AudioJob& job, const CancelFlag* cancel) {
  AudioOutcome outcome;
  const std::filesystem::path wav_path = WithSuffix(job.base_path, u".wav");
  const std::filesystem::path mp3_path = WithSuffix(job.base_path, u".mp3");

  const WavResult wav =
      WriteMorseWav(system, job.base_path, job.code_text, job.frequency, job.speed, {}, job.keying);
  outcome.wav_status = wav.status;
  if (wav.status != WavStatus::kWritten) {
    return outcome;  // kFailed: an encoder must not be started on a missing file
  }
  outcome.audio_path = wav_path;

  const std::filesystem::path encoder = job.encoder_folder / PathFromText(kEncoderName);
  if (!system.PathExists(encoder)) {
    outcome.kind = AudioOutcome::Kind::kWavOnlyNoEncoder;
    return outcome;
  }

  const ProcessResult run = system.RunProcess({encoder, wav_path, mp3_path}, cancel);
  switch (run.kind) {
    case ProcessResult::Kind::kCancelled:
      outcome.kind = AudioOutcome::Kind::kCancelled;
      return outcome;
    case ProcessResult::Kind::kStartFailed:
      outcome.kind = AudioOutcome::Kind::kWavOnlyEncoderFailed;
      outcome.encoder_exit_code = kEncoderNotStarted;
      return outcome;
    case ProcessResult::Kind::kLost:
      outcome.kind = AudioOutcome::Kind::kWavOnlyEncoderFailed;
      outcome.encoder_exit_code = kEncoderStatusLost;
      return outcome;
    case ProcessResult::Kind::kExited:
      break;
  }
  const auto mp3_size = system.FileSize(mp3_path);
  if (run.exit_code != 0 || !mp3_size || *mp3_size == 0) {
    outcome.kind = AudioOutcome::Kind::kWavOnlyEncoderFailed;
    outcome.encoder_exit_code = run.exit_code;
    return outcome;
  }
  system.RemoveFile(wav_path);
  outcome.kind = AudioOutcome::Kind::kMp3Written;
  outcome.audio_path = mp3_path;
  return outcome;
}

}  // namespace hoshizora

#include "audio/telegram_audio.h"

#include "audio/mp3_check.h"
#include "audio/wav_check.h"
#include "platform/paths.h"

namespace hoshizora {
namespace {

// A copy of the WAV kept aside while the encoder runs, so that an encoder
// that deletes, empties or cuts short its input and then fails cannot take
// the recording with it. A copy, not a hard link: a link shares whatever the
// encoder does to the file's contents, and FAT32 and exFAT have none. A link
// only where no copy fits (a nearly full disk): it still outlives a deletion.
class WavGuard {
 public:
  WavGuard(System& system, std::filesystem::path wav, std::uint64_t samples)
      : system_(system), wav_(std::move(wav)), samples_(samples) {
    std::filesystem::path name(".");
    name += wav_.filename();
    name += ".keep";
    keep_ = wav_;
    keep_.replace_filename(name);
    system_.RemoveFile(keep_);  // a leftover of an interrupted run
    if (!system_.CopyFileTo(wav_, keep_) && !system_.LinkFile(wav_, keep_)) {
      keep_.clear();  // the WAV goes unguarded; it is checked afterwards all the same
    }
  }
  WavGuard(const WavGuard&) = delete;
  WavGuard& operator=(const WavGuard&) = delete;
  ~WavGuard() {
    if (!keep_.empty()) {
      system_.RemoveFile(keep_);
    }
  }

  // Puts the whole WAV back under its name if the encoder harmed it; whether
  // a whole WAV is there now. What is left when none can be is removed: a
  // WAV cut short must never pass for the recording.
  bool Restore() {
    if (WavIsWhole(system_, wav_, samples_)) {
      return true;
    }
    if (!keep_.empty() && system_.RenameFile(keep_, wav_) && WavIsWhole(system_, wav_, samples_)) {
      keep_.clear();
      return true;
    }
    system_.RemoveFile(wav_);
    return false;
  }

 private:
  System& system_;
  std::filesystem::path wav_;
  std::uint64_t samples_;
  std::filesystem::path keep_;
};

bool Mp3IsWhole(System& system, const std::filesystem::path& mp3, std::uint64_t pcm_samples) {
  const auto size = system.FileSize(mp3);
  if (!size) {
    return false;
  }
  const Mp3Reader read = [&](std::uint64_t offset,
                             std::size_t length) -> std::optional<std::string> {
    FileRead part = system.ReadFilePart(mp3, offset, length);
    if (part.status != FileRead::Status::kRead) {
      return std::nullopt;
    }
    return std::move(part.bytes);
  };
  return CheckMp3(read, *size, pcm_samples, kSampleRate) == Mp3Verdict::kWhole;
}

}  // namespace

AudioOutcome WriteTelegramAudio(System& system, const AudioJob& job, const CancelFlag* cancel) {
  AudioOutcome outcome;
  const std::filesystem::path wav_path = WithSuffix(job.base_path, u".wav");
  const std::filesystem::path mp3_path = WithSuffix(job.base_path, u".mp3");

  const WavResult wav = WriteMorseWav(system, job.base_path, job.code_text, job.frequency,
                                      job.speed, {}, job.keying, cancel);
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

  WavGuard guard(system, wav_path, wav.samples);
  const ProcessResult run = system.RunProcess({encoder, wav_path, mp3_path}, cancel);
  outcome.kind = AudioOutcome::Kind::kWavOnlyEncoderFailed;
  switch (run.kind) {
    case ProcessResult::Kind::kCancelled:
      outcome.kind = AudioOutcome::Kind::kCancelled;
      break;
    case ProcessResult::Kind::kStartFailed:
      outcome.encoder_exit_code = kEncoderNotStarted;
      break;
    case ProcessResult::Kind::kLost:
      // Never read as success: a crashed encoder looks the same.
      outcome.encoder_exit_code = kEncoderStatusLost;
      break;
    case ProcessResult::Kind::kExited:
      outcome.encoder_exit_code = run.exit_code;
      if (run.exit_code == 0) {
        if (Mp3IsWhole(system, mp3_path, wav.samples)) {
          system.RemoveFile(wav_path);
          outcome.kind = AudioOutcome::Kind::kMp3Written;
          outcome.audio_path = mp3_path;
          return outcome;
        }
        outcome.encoder_exit_code = kEncoderOutputIncomplete;
      }
      break;
  }
  // Whatever the encoder left is not a whole MP3; the WAV is the result.
  system.RemoveFile(mp3_path);
  if (!guard.Restore()) {
    outcome.audio_path.clear();
  }
  return outcome;
}

}  // namespace hoshizora

#include "audio/wav_writer.h"

#include <cmath>
#include <limits>
#include <memory>

#include "base/little_endian.h"
#include "encoding/telegram_signs.h"
#include "platform/paths.h"

namespace hoshizora {
namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kAmplitude = 32767.0;
constexpr std::int32_t kGroupMarkPauseMs = 5000;
constexpr std::uint32_t kHeaderBytes = 44;
constexpr std::u16string_view kGroupMarkElements = u"..--..";

std::int16_t ToneSample(std::int32_t i, double w, double r) {
  const double v = std::sin(i * w / r) * kAmplitude;
  return static_cast<std::int16_t>(static_cast<std::int32_t>(v));
}

// The 44-byte header with both size fields still 0.
std::string MakeHeader() {
  std::string h = "RIFF";
  AppendLe(h, 0, 4);
  h += "WAVEfmt ";
  AppendLe(h, 16, 4);
  AppendLe(h, 1, 2);  // PCM
  AppendLe(h, 1, 2);  // one channel
  AppendLe(h, kSampleRate, 4);
  AppendLe(h, kSampleRate * 2, 4);
  AppendLe(h, 2, 2);   // block align
  AppendLe(h, 16, 2);  // bits per sample
  h += "data";
  AppendLe(h, 0, 4);
  return h;
}

// The keying plan of one Code text: what to emit for each token, walked
// twice, once to count samples and once to write them.
template <typename Emit>
void WalkCodeText(std::u16string_view code, std::int32_t unit_ms, Emit&& emit) {
  const std::int32_t dash_ms = 3 * unit_ms;
  std::size_t i = 0;
  while (i < code.size()) {
    while (i < code.size() && IsTelegramBlank(code[i])) {
      ++i;
    }
    const std::size_t start = i;
    while (i < code.size() && !IsTelegramBlank(code[i])) {
      ++i;
    }
    if (start == i) {
      break;
    }
    std::u16string_view token = code.substr(start, i - start);
    const bool group_mark = token.size() == 1 && token[0] == kGroupMark;
    if (group_mark) {
      token = kGroupMarkElements;
    }
    for (std::size_t j = 0; j < token.size(); ++j) {
      if (token[j] == u'.') {
        emit(true, unit_ms);
      } else if (token[j] == u'-') {
        emit(true, dash_ms);
      }
      if (j + 1 < token.size()) {
        emit(false, unit_ms);
      }
    }
    emit(false, dash_ms);
    if (group_mark) {
      emit(false, kGroupMarkPauseMs);
    }
  }
}

// Writes samples in large blocks: every dot and dash starts at phase 0, so each
// is a prefix of the longest element computed once per file.
class SampleWriter {
 public:
  SampleWriter(ByteSink& out, std::int32_t longest_tone_ms, std::int32_t frequency,
               std::int32_t longest_pause_ms)
      : out_(out) {
    const double w = frequency * kTwoPi;
    const double r = kSampleRate;
    const std::int32_t n = SampleCount(longest_tone_ms);
    tone_.resize(static_cast<std::size_t>(n) * 2);
    for (std::int32_t i = 0; i < n; ++i) {
      const auto s = static_cast<std::uint16_t>(ToneSample(i, w, r));
      tone_[2 * static_cast<std::size_t>(i)] = static_cast<char>(s & 0xFF);
      tone_[2 * static_cast<std::size_t>(i) + 1] = static_cast<char>(s >> 8);
    }
    silence_.assign(static_cast<std::size_t>(SampleCount(longest_pause_ms)) * 2, '\0');
  }

  // False once a write has failed; nothing is written after that.
  bool Emit(bool tone, std::int32_t ms) {
    const std::int32_t n = SampleCount(ms);
    if (n > 0 && ok_) {
      ok_ = out_.Write(
          std::string_view(tone ? tone_.data() : silence_.data(), static_cast<std::size_t>(n) * 2));
    }
    return ok_;
  }

 private:
  ByteSink& out_;
  bool ok_ = true;
  std::vector<char> tone_;
  std::vector<char> silence_;
};

}  // namespace

std::int32_t SampleCount(std::int32_t ms) {
  const std::int32_t n = static_cast<std::int32_t>(std::int64_t{ms} * kSampleRate / 1000);
  return n > 0 ? n : 0;
}

std::filesystem::path PartialWavPath(const std::filesystem::path& base_path) {
  std::filesystem::path name(".");
  name += base_path.filename();
  name += ".wav.part";
  std::filesystem::path partial = base_path;
  partial.replace_filename(name);
  return partial;
}

namespace {

// Writes the header and the samples; the status to report when it stops.
WavStatus WriteSamples(ByteSink& out, std::u16string_view code_text, std::int32_t unit_ms,
                       std::int32_t frequency, std::uint64_t total, const WavProgress& progress,
                       const CancelFlag* cancel, std::uint64_t& written) {
  if (!out.Write(MakeHeader())) {
    return WavStatus::kWriteFailed;
  }
  SampleWriter samples(out, 3 * unit_ms, frequency, std::max(3 * unit_ms, kGroupMarkPauseMs));
  std::uint64_t next_report = 0;
  WavStatus status = WavStatus::kWritten;
  constexpr std::uint64_t kReportEvery = kSampleRate * 60;  // a minute of audio
  WalkCodeText(code_text, unit_ms, [&](bool tone, std::int32_t ms) {
    if (status != WavStatus::kWritten) {
      return;
    }
    if (cancel != nullptr && cancel->load()) {
      status = WavStatus::kCancelled;
      return;
    }
    if (!samples.Emit(tone, ms)) {
      status = WavStatus::kWriteFailed;
      return;
    }
    written += static_cast<std::uint64_t>(SampleCount(ms));
    if (progress && written >= next_report) {
      progress(total == 0 ? 1.0 : static_cast<double>(written) / static_cast<double>(total));
      next_report = written + kReportEvery;
    }
  });
  if (status != WavStatus::kWritten) {
    return status;
  }
  const auto data_bytes = static_cast<std::uint32_t>(written * 2);
  std::string riff_size;
  std::string data_size;
  AppendLe(riff_size, data_bytes + kHeaderBytes - 8, 4);
  AppendLe(data_size, data_bytes, 4);
  if (!out.WriteAt(4, riff_size) || !out.WriteAt(40, data_size) || !out.Finish()) {
    return WavStatus::kWriteFailed;
  }
  return WavStatus::kWritten;
}

}  // namespace

WavResult WriteMorseWav(System& system, const std::filesystem::path& base_path,
                        std::u16string_view code_text, std::int32_t frequency, std::int32_t speed,
                        const WavProgress& progress, const CancelFlag* cancel) {
  WavResult result;
  if (speed <= -10) {
    result.status = WavStatus::kBadSpeed;
    return result;
  }
  const std::int32_t unit_ms = 12000 / (speed + 10);
  if (unit_ms <= 0) {
    result.status = WavStatus::kBadSpeed;
    return result;
  }

  std::uint64_t total = 0;
  WalkCodeText(code_text, unit_ms, [&](bool, std::int32_t ms) {
    total += static_cast<std::uint64_t>(SampleCount(ms));
  });
  if (total * 2 > std::numeric_limits<std::uint32_t>::max() - kHeaderBytes) {
    result.status = WavStatus::kTooLong;
    return result;
  }

  const std::filesystem::path partial = PartialWavPath(base_path);
  auto out = system.CreateFile(partial);
  if (!out) {
    result.status = WavStatus::kCannotCreate;
    return result;
  }
  std::uint64_t written = 0;
  result.status =
      WriteSamples(*out, code_text, unit_ms, frequency, total, progress, cancel, written);
  out.reset();  // closed before it is renamed or removed
  if (result.status == WavStatus::kWritten &&
      !system.RenameFile(partial, WithSuffix(base_path, u".wav"))) {
    result.status = WavStatus::kWriteFailed;
  }
  if (result.status != WavStatus::kWritten) {
    system.RemoveFile(partial);
    return result;
  }
  result.samples = written;
  return result;
}

}  // namespace hoshizora

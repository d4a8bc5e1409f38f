#include "audio/wav_writer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>

#include "base/little_endian.h"
#include "base/unicode.h"
#include "encoding/telegram_signs.h"
#include "platform/paths.h"

namespace hoshizora {
namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kAmplitude = 32767.0;
constexpr std::int32_t kGroupMarkPauseMs = 5000;
constexpr std::uint32_t kHeaderBytes = 44;
constexpr std::u16string_view kGroupMarkElements = u"..--..";

// `gain` is 1 for plain keying; multiplying by it then changes no bit.
std::int16_t ToneSample(std::int32_t i, double w, double r, double gain = 1.0) {
  const double v = std::sin(i * w / r) * kAmplitude * gain;
  return static_cast<std::int16_t>(static_cast<std::int32_t>(v));
}

// The 44-byte header of mono 16-bit PCM with `data_bytes` of samples.
std::string Pcm16MonoHeader(std::int32_t rate, std::uint32_t data_bytes) {
  std::string h = "RIFF";
  AppendLe(h, data_bytes == 0 ? 0 : data_bytes + kHeaderBytes - 8, 4);
  h += "WAVEfmt ";
  AppendLe(h, 16, 4);
  AppendLe(h, 1, 2);  // PCM
  AppendLe(h, 1, 2);  // one channel
  AppendLe(h, static_cast<std::uint32_t>(rate), 4);
  AppendLe(h, static_cast<std::uint32_t>(rate) * 2, 4);
  AppendLe(h, 2, 2);   // block align
  AppendLe(h, 16, 2);  // bits per sample
  h += "data";
  AppendLe(h, data_bytes, 4);
  return h;
}

// The header with both size fields still 0, filled in once the samples are.
std::string MakeHeader() {
  return Pcm16MonoHeader(kSampleRate, 0);
}

// What the keying of a Code text is made of. Each kind has one length per file.
enum Sound : std::size_t {
  kDot,
  kDash,
  kElementGap,  // between the elements of one token
  kTokenGap,    // after every token: the Code text has no wider word gap
  kGroupPause,  // after the token gap of a Group mark
  kSoundKinds,
};

using SoundLengths = std::array<std::int64_t, kSoundKinds>;  // samples of each kind
using SoundCounts = std::array<std::uint64_t, kSoundKinds>;

SoundLengths PlainLengths(std::int32_t unit_ms) {
  const std::int64_t unit = SampleCount(unit_ms);
  const std::int64_t three_units = SampleCount(3 * unit_ms);
  return {unit, three_units, unit, three_units, SampleCount(kGroupMarkPauseMs)};
}

// The keying plan of one Code text: the sounds it is keyed as, in order.
template <typename Emit>
void WalkCodeText(std::u16string_view code, Emit&& emit) {
  std::size_t i = 0;
  while (i < code.size()) {
    while (i < code.size() && IsBlank(code[i])) {
      ++i;
    }
    const std::size_t start = i;
    while (i < code.size() && !IsBlank(code[i])) {
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
        emit(kDot);
      } else if (token[j] == u'-') {
        emit(kDash);
      }
      if (j + 1 < token.size()) {
        emit(kElementGap);
      }
    }
    emit(kTokenGap);
    if (group_mark) {
      emit(kGroupPause);
    }
  }
}

SoundCounts CountSounds(std::u16string_view code) {
  SoundCounts counts{};
  WalkCodeText(code, [&](Sound s) { ++counts[s]; });
  return counts;
}

std::uint64_t TotalSamples(const SoundCounts& counts, const SoundLengths& lengths) {
  std::uint64_t total = 0;
  for (std::size_t k = 0; k < kSoundKinds; ++k) {
    total += counts[k] * static_cast<std::uint64_t>(lengths[k]);
  }
  return total;
}

// Farnsworth spacing. Let T(s) be the samples of the whole Code text keyed
// plainly at speed s, and G the samples of all token gaps at the keying speed
// (one 3-unit gap after every token; character and word gaps are the same gap
// here). Dots, dashes, the gaps inside a token and the 5-second pauses after
// Group marks keep their keying-speed lengths; every token gap is stretched by
//
//   f = 1 + (T(effective) - T(keying)) / G,
//
// so the whole lasts T(effective): as long as keying plainly at the effective
// speed, Group mark pauses counted on both sides. With n token gaps of g
// samples each (G = n g) a gap becomes g + (T(effective) - T(keying)) / n,
// rounded to the nearest sample; the total is then off by at most n/2 samples.
SoundLengths FarnsworthLengths(const SoundCounts& counts, std::int32_t unit_ms,
                               std::int32_t effective_unit_ms) {
  SoundLengths lengths = PlainLengths(unit_ms);
  const std::uint64_t gaps = counts[kTokenGap];
  if (gaps == 0) {
    return lengths;
  }
  const std::uint64_t keyed = TotalSamples(counts, lengths);
  const std::uint64_t effective = TotalSamples(counts, PlainLengths(effective_unit_ms));
  if (effective > keyed) {
    lengths[kTokenGap] += static_cast<std::int64_t>((effective - keyed + gaps / 2) / gaps);
  }
  return lengths;
}

// Raised-cosine (sin²) edges over the first and last `ramp` samples of an
// element of `n` samples. The first and last samples get a gain of 0. Ramps
// longer than half the element are shortened to meet in its middle, so even
// a short element swells to (almost) full amplitude there.
double EdgeGain(std::int64_t i, std::int64_t n, std::int64_t ramp) {
  ramp = std::min(ramp, n / 2);
  const std::int64_t from_edge = std::min(i, n - 1 - i);
  if (from_edge >= ramp) {
    return 1.0;
  }
  const double s =
      std::sin(kTwoPi / 4 * static_cast<double>(from_edge) / static_cast<double>(ramp));
  return s * s;
}

// Writes samples in large blocks. Every dot and dash starts at phase 0, so a
// plain dot is a prefix of the dash and one computed dash serves both; shaped
// elements differ at their ends, so the dot and the dash are each computed once.
class SampleWriter {
 public:
  SampleWriter(ByteSink& out, const SoundLengths& lengths, std::int32_t frequency,
               std::int32_t rise_ms)
      : out_(out), lengths_(lengths) {
    const std::int64_t ramp = rise_ms > 0 ? SampleCount(rise_ms) : 0;
    dash_ = ElementBytes(lengths[kDash], frequency, ramp);
    if (ramp > 0) {
      dot_ = ElementBytes(lengths[kDot], frequency, ramp);
    }
    const std::int64_t longest_silence =
        std::max({lengths[kElementGap], lengths[kTokenGap], lengths[kGroupPause]});
    silence_.assign(static_cast<std::size_t>(longest_silence) * 2, '\0');
  }

  // False once a write has failed; nothing is written after that.
  bool Emit(Sound sound) {
    const std::int64_t n = lengths_[sound];
    if (n > 0 && ok_) {
      ok_ = out_.Write(std::string_view(BytesOf(sound).data(), static_cast<std::size_t>(n) * 2));
    }
    return ok_;
  }

 private:
  static std::vector<char> ElementBytes(std::int64_t n, std::int32_t frequency, std::int64_t ramp) {
    const double w = frequency * kTwoPi;
    const double r = kSampleRate;
    std::vector<char> bytes(static_cast<std::size_t>(n) * 2);
    for (std::int64_t i = 0; i < n; ++i) {
      const double gain = ramp > 0 ? EdgeGain(i, n, ramp) : 1.0;
      const auto s =
          static_cast<std::uint16_t>(ToneSample(static_cast<std::int32_t>(i), w, r, gain));
      bytes[2 * static_cast<std::size_t>(i)] = static_cast<char>(s & 0xFF);
      bytes[2 * static_cast<std::size_t>(i) + 1] = static_cast<char>(s >> 8);
    }
    return bytes;
  }

  const std::vector<char>& BytesOf(Sound sound) const {
    if (sound == kDash || (sound == kDot && dot_.empty())) {
      return dash_;
    }
    return sound == kDot ? dot_ : silence_;
  }

  ByteSink& out_;
  bool ok_ = true;
  SoundLengths lengths_;
  std::vector<char> dash_;
  std::vector<char> dot_;  // empty when the dot is a prefix of the dash
  std::vector<char> silence_;
};

}  // namespace

std::int32_t SampleCount(std::int32_t ms) {
  const std::int32_t n = static_cast<std::int32_t>(std::int64_t{ms} * kSampleRate / 1000);
  return n > 0 ? n : 0;
}

std::int32_t UnitLengthMs(std::int32_t speed) {
  // In 64 bits: speed + 10 overflows 32 bits for the largest speeds.
  const std::int64_t divisor = std::int64_t{speed} + 10;
  return divisor > 0 ? static_cast<std::int32_t>(12000 / divisor) : 0;
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
WavStatus WriteSamples(ByteSink& out, std::u16string_view code_text, const SoundLengths& lengths,
                       std::int32_t frequency, std::int32_t rise_ms, std::uint64_t total,
                       const WavProgress& progress, const CancelFlag* cancel,
                       std::uint64_t& written) {
  if (!out.Write(MakeHeader())) {
    return WavStatus::kWriteFailed;
  }
  SampleWriter samples(out, lengths, frequency, rise_ms);
  std::uint64_t next_report = 0;
  WavStatus status = WavStatus::kWritten;
  constexpr std::uint64_t kReportEvery = kSampleRate * 60;  // a minute of audio
  WalkCodeText(code_text, [&](Sound sound) {
    if (status != WavStatus::kWritten) {
      return;
    }
    if (cancel != nullptr && cancel->load()) {
      status = WavStatus::kCancelled;
      return;
    }
    if (!samples.Emit(sound)) {
      status = WavStatus::kWriteFailed;
      return;
    }
    written += static_cast<std::uint64_t>(lengths[sound]);
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

std::optional<std::string> Pcm16MonoWav(std::int32_t rate, std::span<const std::int16_t> samples) {
  if (rate <= 0 ||
      samples.size() > (std::numeric_limits<std::uint32_t>::max() - kHeaderBytes) / 2) {
    return std::nullopt;
  }
  std::string bytes = Pcm16MonoHeader(rate, static_cast<std::uint32_t>(samples.size() * 2));
  bytes.reserve(bytes.size() + samples.size() * 2);
  for (const std::int16_t sample : samples) {
    AppendLe(bytes, static_cast<std::uint16_t>(sample), 2);
  }
  return bytes;
}

WavResult WriteMorseWav(System& system, const std::filesystem::path& base_path,
                        std::u16string_view code_text, std::int32_t frequency, std::int32_t speed,
                        const WavProgress& progress, const KeyingOptions& keying,
                        const CancelFlag* cancel) {
  WavResult result;
  const std::int32_t unit_ms = UnitLengthMs(speed);
  if (unit_ms <= 0) {
    result.status = WavStatus::kBadSpeed;
    return result;
  }
  const bool farnsworth = keying.effective_cpm >= kMinEffectiveCpm && keying.effective_cpm < speed;
  const std::int32_t rise_ms =
      keying.rise_ms >= 1 && keying.rise_ms <= kMaxRiseMs ? keying.rise_ms : 0;

  const SoundCounts counts = CountSounds(code_text);
  const SoundLengths lengths =
      farnsworth ? FarnsworthLengths(counts, unit_ms, UnitLengthMs(keying.effective_cpm))
                 : PlainLengths(unit_ms);
  const std::uint64_t total = TotalSamples(counts, lengths);
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
      WriteSamples(*out, code_text, lengths, frequency, rise_ms, total, progress, cancel, written);
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

#pragma once
// Synthesised keying for the decoder's tests and benchmarks: key-down and
// key-up stretches from a Code text, with a hand's imperfections when asked;
// a tone through them, white noise and WAV files in any format.

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/little_endian.h"
#include "base/split_mix.h"

namespace hoshizora::testing {

// SplitMix64, and a normal deviate as the sum of twelve uniforms: the same
// numbers with every C library.
class SignalRandom {
 public:
  explicit SignalRandom(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() { return SplitMix64Next(state_); }
  double Uniform() { return static_cast<double>(Next() >> 11) / 9007199254740992.0; }
  double Symmetric() { return 2 * Uniform() - 1; }  // in [-1, 1)
  double Normal() {
    double s = 0;
    for (int i = 0; i < 12; ++i) {
      s += Uniform();
    }
    return s - 6;
  }

 private:
  std::uint64_t state_;
};

// Keying as (key down?, seconds) stretches.
using Keying = std::vector<std::pair<bool, double>>;

// A hand's imperfections; all off is exact keying.
struct Hand {
  double dah_units = 3;
  double char_gap_units = 3;
  double word_gap_units = 7;
  double jitter = 0;  // each length times 1 + jitter * uniform(-1, 1)
  double wander = 0;  // the unit drifts smoothly within 1 +- wander
  std::uint64_t seed = 1;
};

// Keys a Code text ("." "-" tokens, blanks between, as the WAV writer reads
// it; a "|" among the blanks makes a word gap) at `unit_s`, with silence of `margin_s` at both
// ends.
inline Keying KeyCode(std::u16string_view code, double unit_s, const Hand& hand = {},
                      double margin_s = 0.3) {
  Keying k;
  SignalRandom random(hand.seed);
  double elapsed_units = 0;
  auto length = [&](double units) {
    // The speed wanders through a slow sine of the elapsed time.
    const double wander = 1 + hand.wander * std::sin(elapsed_units / 60.0);
    elapsed_units += units;
    return units * unit_s * wander * (1 + hand.jitter * random.Symmetric());
  };
  k.emplace_back(false, margin_s);
  bool word = false;
  bool blank = false;
  bool pending = false;  // an element waits for its following gap
  for (char16_t c : code) {
    if (c == u'.' || c == u'-') {
      if (pending) {
        const double gap = word ? hand.word_gap_units : (blank ? hand.char_gap_units : 1);
        k.emplace_back(false, length(gap));
      }
      k.emplace_back(true, length(c == u'.' ? 1 : hand.dah_units));
      pending = true;
      word = blank = false;
    } else {
      blank = true;
      word = word || c == u'|';
    }
  }
  k.emplace_back(false, margin_s);
  return k;
}

// A sine of amplitude `amplitude` through the keying, with square edges.
inline std::vector<float> Tone(const Keying& keying, int rate, double hz, double amplitude = 0.5) {
  std::vector<float> samples;
  double t = 0;
  for (const auto& [on, seconds] : keying) {
    const auto end = static_cast<std::size_t>((t + seconds) * rate + 0.5);
    while (samples.size() < end) {
      samples.push_back(
          on ? static_cast<float>(amplitude * std::sin(2 * 3.141592653589793 * hz *
                                                       static_cast<double>(samples.size()) / rate))
             : 0.0F);
    }
    t += seconds;
  }
  return samples;
}

// Adds white noise so that the tone of `amplitude` stands `snr_db` above the
// noise in a 500 Hz band.
inline void AddNoise(std::vector<float>& samples, int rate, double amplitude, double snr_db,
                     std::uint64_t seed) {
  const double tone_power = amplitude * amplitude / 2;
  const double band_power = tone_power / std::pow(10.0, snr_db / 10);
  const double sigma = std::sqrt(band_power * (rate / 2.0) / 500.0);
  SignalRandom random(seed);
  for (float& s : samples) {
    s = static_cast<float>(s + sigma * random.Normal());
  }
}

struct WavFormat {
  int rate = 44100;
  int channels = 1;
  int bits = 16;
  bool is_float = false;
  bool extensible = false;
};

// A WAV file of the samples (copied to every channel), clipped to [-1, 1].
inline std::string WavBytes(const std::vector<float>& samples, const WavFormat& f) {
  std::string data;
  for (float s : samples) {
    const double v = s > 1 ? 1 : (s < -1 ? -1 : s);
    for (int c = 0; c < f.channels; ++c) {
      if (f.is_float) {
        float x = static_cast<float>(v);
        std::uint32_t u = 0;
        static_assert(sizeof u == sizeof x);
        __builtin_memcpy(&u, &x, sizeof u);
        AppendLe(data, u, 4);
      } else if (f.bits == 8) {
        AppendLe(data, static_cast<std::uint32_t>(128 + std::lround(v * 127)), 1);
      } else {
        const double full = static_cast<double>((1LL << (f.bits - 1)) - 1);
        AppendLe(data, static_cast<std::uint32_t>(static_cast<std::int32_t>(std::lround(v * full))),
                 f.bits / 8);
      }
    }
  }
  const int block = f.channels * f.bits / 8;
  std::string fmt;
  AppendLe(fmt, f.extensible ? 0xFFFE : (f.is_float ? 3 : 1), 2);
  AppendLe(fmt, static_cast<std::uint32_t>(f.channels), 2);
  AppendLe(fmt, static_cast<std::uint32_t>(f.rate), 4);
  AppendLe(fmt, static_cast<std::uint32_t>(f.rate * block), 4);
  AppendLe(fmt, static_cast<std::uint32_t>(block), 2);
  AppendLe(fmt, static_cast<std::uint32_t>(f.bits), 2);
  if (f.extensible) {
    AppendLe(fmt, 22, 2);
    AppendLe(fmt, static_cast<std::uint32_t>(f.bits), 2);
    AppendLe(fmt, f.channels == 1 ? 4 : 3, 4);  // speaker mask
    AppendLe(fmt, f.is_float ? 3 : 1, 2);       // the sub-format GUID's first field
    fmt += std::string("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
  }
  std::string wav = "RIFF";
  AppendLe(wav, static_cast<std::uint32_t>(4 + 8 + fmt.size() + 8 + data.size()), 4);
  wav += "WAVEfmt ";
  AppendLe(wav, static_cast<std::uint32_t>(fmt.size()), 4);
  wav += fmt;
  wav += "data";
  AppendLe(wav, static_cast<std::uint32_t>(data.size()), 4);
  wav += data;
  return wav;
}

}  // namespace hoshizora::testing

// How well the decoder reads practice telegrams: the program's own WAVs at
// each speed, edge rise, spacing and sample rate; white noise at 100 CPM; a
// hand-keyed model. Prints the character error rate of each condition, the
// timing figures against the keyed ones, and the decoder's speed in times
// real time on one core. Not a test: it reports, it does not judge.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/compose_telegram.h"
#include "audio/wav_writer.h"
#include "base/unicode.h"
#include "decode/decoder.h"
#include "decode/timing_feedback.h"
#include "decode/wabun_lookup.h"
#include "decode/wav_reader.h"
#include "encoding/encode_telegram.h"
#include "encoding/group_marks.h"
#ifdef _WIN32
#include "platform/win32/win32_system.h"
using NativeSystem = hoshizora::Win32System;
#else
#include "platform/posix/posix_system.h"
using NativeSystem = hoshizora::PosixSystem;
#endif
#include "practice/practice_telegram.h"
#include "support/keyed_signal.h"

namespace {

namespace fs = std::filesystem;
using namespace hoshizora;

constexpr int kTelegrams = 10;
constexpr double kToneHz = 700;

struct Telegram {
  std::u16string code;      // the Code text as output keys it
  std::u16string expected;  // what reading it back must give, Group marks dropped
};

std::vector<Telegram> PracticeTelegrams() {
  std::vector<Telegram> telegrams;
  for (int i = 0; i < kTelegrams; ++i) {
    PracticeOptions options;
    options.mode = i < kTelegrams / 2 ? PracticeMode::kGroups : PracticeMode::kWords;
    const TelegramFields fields = MakePracticeTelegram(options, 1000 + i);
    Telegram t;
    t.code = EncodeTelegram(InsertGroupMarks(ComposeKeyedTelegram(fields)));
    std::u16string token;
    for (char16_t c : t.code + u" ") {
      if (!IsBlank(c)) {
        token.push_back(c);
        continue;
      }
      if (!token.empty() && token != u"？") {
        t.expected += LookUpCode(token).value_or(u"〓");
      }
      token.clear();
    }
    telegrams.push_back(std::move(t));
  }
  return telegrams;
}

std::size_t EditDistance(const std::u16string& a, const std::u16string& b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) {
    row[j] = j;
  }
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t up = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = up;
    }
  }
  return row[b.size()];
}

std::u16string WithoutBlanks(const std::u16string& s) {
  std::u16string out;
  std::copy_if(s.begin(), s.end(), std::back_inserter(out), [](char16_t c) { return c != u' '; });
  return out;
}

// Linear interpolation onto another rate: enough for a tone far below both
// Nyquist frequencies.
std::vector<float> Resample(const std::vector<float>& in, int from, int to) {
  if (from == to) {
    return in;
  }
  std::vector<float> out(static_cast<std::size_t>(static_cast<double>(in.size()) * to / from));
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double x = static_cast<double>(i) * from / to;
    const auto k = static_cast<std::size_t>(x);
    const double f = x - static_cast<double>(k);
    const float a = in[k];
    const float b = k + 1 < in.size() ? in[k + 1] : 0.0F;
    out[i] = static_cast<float>(a + (b - a) * f);
  }
  return out;
}

struct Tally {
  std::size_t errors = 0;
  std::size_t characters = 0;
  double audio_s = 0;
  double decode_s = 0;
  double worst_unit_error_ms = 0;
  // The measured dah/dit ratio and character gap (units), lowest and highest.
  double ratio_low = 1e9;
  double ratio_high = 0;
  double gap_low = 1e9;
  double gap_high = 0;
  void Print(const char* name) const {
    std::printf(
        "%-44s CER %6.3f %%  (%zu/%zu)  %5.0fx real time  unit err <= %.2f ms  "
        "dah/dit %.3f-%.3f  char gap %.2f-%.2f u\n",
        name, characters ? 100.0 * static_cast<double>(errors) / characters : 0.0, errors,
        characters, decode_s > 0 ? audio_s / decode_s : 0, worst_unit_error_ms, ratio_low,
        ratio_high, gap_low, gap_high);
    std::fflush(stdout);
  }
};

void Score(Tally& tally, const AudioClip& clip, const std::u16string& expected, double unit_ms) {
  // CPU time: the machine may be busy with other work; the decoder is one thread.
  const std::clock_t start = std::clock();
  const DecodeResult decoded = DecodeAudio(clip);
  const TimingFeedback f = MeasureTiming(decoded);
  tally.decode_s += static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  tally.audio_s += static_cast<double>(clip.samples.size()) / clip.rate;
  tally.errors += EditDistance(WithoutBlanks(decoded.text), expected);
  tally.characters += expected.size();
  tally.worst_unit_error_ms = std::max(tally.worst_unit_error_ms, std::abs(f.unit_ms - unit_ms));
  tally.ratio_low = std::min(tally.ratio_low, f.dah_dit_ratio);
  tally.ratio_high = std::max(tally.ratio_high, f.dah_dit_ratio);
  tally.gap_low = std::min(tally.gap_low, f.char_gap_units);
  tally.gap_high = std::max(tally.gap_high, f.char_gap_units);
}

AudioClip ProgramWav(NativeSystem& system, const fs::path& folder, const Telegram& t, int cpm,
                     const KeyingOptions& keying) {
  const fs::path base = folder / "telegram";
  WriteMorseWav(system, base, t.code, static_cast<std::int32_t>(kToneHz), cpm, {}, keying);
  std::ifstream in(fs::path(base) += ".wav", std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return ReadWav(bytes).clip;
}

}  // namespace

int main() {
  const std::vector<Telegram> telegrams = PracticeTelegrams();
  const fs::path folder = fs::temp_directory_path() / "hoshizora-decode-accuracy";
  fs::create_directories(folder);
  NativeSystem system;
  Tally all_clean;
  for (int cpm : {40, 75, 100, 150}) {
    const double unit_ms = UnitLengthMs(cpm);
    for (int rise : {0, 20}) {
      for (bool farnsworth : {false, true}) {
        const KeyingOptions keying{rise, farnsworth ? std::max(kMinEffectiveCpm, cpm / 2) : 0};
        Tally by_rate[3];
        for (const Telegram& t : telegrams) {
          const AudioClip clip = ProgramWav(system, folder, t, cpm, keying);
          int r = 0;
          for (int rate : {8000, 44100, 48000}) {
            const AudioClip at_rate{rate, Resample(clip.samples, kSampleRate, rate)};
            Score(by_rate[r++], at_rate, t.expected, unit_ms);
          }
        }
        int r = 0;
        for (int rate : {8000, 44100, 48000}) {
          char name[96];
          std::snprintf(name, sizeof name, "own WAV %3d CPM rise %2d ms%s %5d Hz", cpm, rise,
                        farnsworth ? " Farnsworth" : "           ", rate);
          by_rate[r].Print(name);
          all_clean.errors += by_rate[r].errors;
          all_clean.characters += by_rate[r].characters;
          all_clean.audio_s += by_rate[r].audio_s;
          all_clean.decode_s += by_rate[r].decode_s;
          ++r;
        }
      }
    }
  }
  all_clean.Print("own WAVs, all of the above");

  const double unit_100 = UnitLengthMs(100) / 1000.0;
  for (double snr : {3.0, 0.0}) {
    Tally tally;
    std::uint64_t seed = 1;
    for (const Telegram& t : telegrams) {
      for (int rate : {8000, 44100}) {
        AudioClip clip{rate, testing::Tone(testing::KeyCode(t.code, unit_100), rate, kToneHz)};
        testing::AddNoise(clip.samples, rate, 0.5, snr, seed++);
        Score(tally, clip, t.expected, unit_100 * 1000);
      }
    }
    char name[64];
    std::snprintf(name, sizeof name, "100 CPM white noise %.0f dB SNR in 500 Hz", snr);
    tally.Print(name);
  }

  Tally hand;
  std::uint64_t seed = 1;
  for (const Telegram& t : telegrams) {
    testing::Hand model{.dah_units = 2.6, .char_gap_units = 2.6, .jitter = 0.15, .wander = 0.1};
    model.seed = seed++;
    // A hand sends no five-second pause after a Group mark.
    std::u16string code = t.code;
    for (std::size_t at; (at = code.find(u"？")) != std::u16string::npos;) {
      code.erase(at, 1);
    }
    AudioClip clip{8000, testing::Tone(testing::KeyCode(code, unit_100, model), 8000, kToneHz)};
    testing::AddNoise(clip.samples, 8000, 0.5, 10, seed + 100);
    Score(hand, clip, t.expected, unit_100 * 1000);
  }
  hand.Print("hand model 100 CPM 10 dB");
  fs::remove_all(folder);
  return 0;
}

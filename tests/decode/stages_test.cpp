// Each decoding stage on its own, on synthesised signals.
#include <gtest/gtest.h>

#include "base/utf8.h"
#include "decode/element_timing.h"
#include "decode/envelope.h"
#include "decode/exact_math.h"
#include "decode/keying_levels.h"
#include "decode/tone_search.h"
#include "decode/wabun_lookup.h"
#include "support/keyed_signal.h"

namespace hoshizora {
namespace {

using testing::AddNoise;
using testing::KeyCode;
using testing::Keying;
using testing::Tone;

TEST(StagesTest, ExactSinCosAgreesWithTheLibrary) {
  for (double x = -50; x < 50; x += 0.37) {
    const SinCos sc = ExactSinCos(x);
    EXPECT_NEAR(sc.sin, std::sin(x), 1e-13) << x;
    EXPECT_NEAR(sc.cos, std::cos(x), 1e-13) << x;
  }
}

TEST(StagesTest, ToneSearchFindsTheStrongestToneInTheBand) {
  const struct {
    int rate;
    double hz;
    double snr_db;
  } cases[] = {{8000, 150, 10}, {8000, 2500, 99}, {44100, 1234, 0}, {96000, 700, 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.rate << " Hz rate, " << c.hz << " Hz tone");
    AudioClip clip{c.rate, Tone(KeyCode(u"-.-. .-.. ", 0.1), c.rate, c.hz)};
    // A louder tone outside the band is not the one.
    const std::vector<float> low = Tone({{true, 1.0}}, c.rate, 60, 0.9);
    for (std::size_t i = 0; i < clip.samples.size() && i < low.size(); ++i) {
      clip.samples[i] += low[i];
    }
    if (c.snr_db < 90) {
      AddNoise(clip.samples, c.rate, 0.5, c.snr_db, 4);
    }
    const ToneSearch tone = FindTone(clip);
    EXPECT_TRUE(tone.found);
    EXPECT_NEAR(tone.hz, c.hz, 2);
  }
}

TEST(StagesTest, ToneSearchFollowsSlowDrift) {
  // A tone gliding from 700 to 740 Hz over 48 seconds of dits.
  const int rate = 8000;
  AudioClip clip{rate, {}};
  double phase = 0;
  for (int i = 0; i < rate * 48; ++i) {
    const double t = static_cast<double>(i) / rate;
    phase += 2 * kPi * (700 + 40 * t / 48) / rate;
    const bool on = static_cast<int>(t / 0.1) % 2 == 0;
    clip.samples.push_back(on ? static_cast<float>(0.5 * std::sin(phase)) : 0.0F);
  }
  const ToneSearch tone = FindTone(clip);
  ASSERT_TRUE(tone.found);
  for (double t : {6.0, 20.0, 30.0, 42.0}) {
    EXPECT_NEAR(ToneAt(tone, t), 700 + 40 * t / 48, 4) << t;
  }
}

TEST(StagesTest, EnvelopeKeepsMarkLengthsAtHalfHeight) {
  // A 100 ms mark and a 300 ms mark through windows of 3 to 45 ms: within a
  // millisecond up to the window a clean signal gets (a fifth of a dit); the
  // longest window noise gets shifts the levels a little.
  const int rate = 44100;
  const Keying keying{{false, 0.5}, {true, 0.1}, {false, 0.1}, {true, 0.3}, {false, 0.5}};
  const AudioClip clip{rate, Tone(keying, rate, 800)};
  ToneSearch tone;
  tone.found = true;
  tone.hz = 800;
  tone.track = {{0, 800}};
  const ToneBlocks blocks = MixToTone(clip, tone);
  for (const auto& [window, tolerance] :
       {std::pair{3, 0.001}, {11, 0.001}, {21, 0.001}, {45, 0.0025}}) {
    const KeyingRuns runs = FindKeyRuns(SmoothEnvelope(blocks, window), blocks.block_s);
    ASSERT_EQ(runs.runs.size(), 3U) << window;
    EXPECT_NEAR(runs.runs[0].Length(), 0.1, tolerance) << window;
    EXPECT_NEAR(runs.runs[1].Length(), 0.1, tolerance) << window;
    EXPECT_NEAR(runs.runs[2].Length(), 0.3, tolerance) << window;
  }
}

TEST(StagesTest, ThresholdHasHysteresis) {
  // A mark that sags to mid level and wavers there stays one mark; the
  // levels come from the envelope itself.
  std::vector<double> envelope(3000, 0.0);
  for (std::size_t k = 1000; k < 1300; ++k) {
    envelope[k] = k < 1100 || k >= 1250 ? 1.0 : (k % 2 == 0 ? 0.45 : 0.55);
  }
  for (std::size_t k = 1600; k < 1700; ++k) {
    envelope[k] = 1.0;
  }
  const KeyingRuns runs = FindKeyRuns(envelope, 0.001);
  ASSERT_EQ(runs.runs.size(), 3U);
  EXPECT_NEAR(runs.runs[0].Length(), 0.3, 0.002);
}

TEST(StagesTest, GlitchesFarShorterThanTheLimitAreRemoved) {
  // (on, length in ms) in, the lengths out.
  const struct {
    std::vector<std::pair<bool, double>> in;
    std::vector<double> out;
  } cases[] = {
      {{{true, 100}, {false, 5}, {true, 200}}, {305}},                   // dropout in a dah
      {{{true, 100}, {false, 50}, {true, 4}, {false, 60}, {true, 100}},  // click in a gap
       {100, 114, 100}},
      {{{true, 3}, {false, 200}, {true, 100}}, {100}},  // click before the first mark
      {{{true, 100}, {false, 100}, {true, 100}}, {100, 100, 100}},
  };
  for (const auto& c : cases) {
    std::vector<KeyRun> runs;
    double t = 0;
    for (const auto& [on, ms] : c.in) {
      runs.push_back({on, t, t + ms / 1000});
      t += ms / 1000;
    }
    const std::vector<KeyRun> kept = RemoveGlitches(runs, 0.02);
    ASSERT_EQ(kept.size(), c.out.size());
    for (std::size_t i = 0; i < kept.size(); ++i) {
      EXPECT_NEAR(kept[i].Length() * 1000, c.out[i], 1e-6) << i;
      EXPECT_EQ(kept[i].on, i % 2 == 0) << i;
    }
  }
}

std::vector<KeyRun> Runs(const Keying& keying) {
  std::vector<KeyRun> runs;
  double t = 0;
  for (const auto& [on, seconds] : keying) {
    if (on || !runs.empty()) {
      runs.push_back({on, t, t + seconds});
    }
    t += seconds;
  }
  if (!runs.empty() && !runs.back().on) {
    runs.pop_back();
  }
  return runs;
}

TEST(StagesTest, TimingFollowsASpeedChangeWithinATelegram) {
  // ヲ (.---) and ネ (--.-) alternating, thirty at a 70 ms unit, then slowing
  // over twenty to 150 ms and thirty at that: the fast dahs are longer than
  // the slow dits.
  Keying keying{{false, 0.3}};
  std::vector<double> units;
  for (int i = 0; i < 80; ++i) {
    const double unit = i < 30 ? 0.07 : (i < 50 ? 0.07 + 0.004 * (i - 29) : 0.15);
    units.push_back(unit);
    Keying one = KeyCode(i % 2 == 0 ? u".---" : u"--.-", unit, {}, 3 * unit);
    keying.insert(keying.end(), one.begin() + 1, one.end());
  }
  const std::vector<SentCharacter> chars = ReadCharacters(Runs(keying));
  std::string codes;
  for (const auto& c : chars) {
    codes += EncodeUtf8(c.Code()) + " ";
  }
  ASSERT_EQ(chars.size(), 80U) << codes;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    EXPECT_EQ(EncodeUtf8(chars[i].Code()), i % 2 == 0 ? ".---" : "--.-") << i;
  }
  EXPECT_NEAR(chars[5].dit_s, 0.07, 1e-9);
  EXPECT_NEAR(chars[75].dit_s, 0.15, 1e-9);
}

TEST(StagesTest, TableReadsKanaFirstSignsAndSplitsRunTogetherCodes) {
  const struct {
    std::u16string_view code;
    std::vector<double> gaps;
    std::u16string_view text;
  } cases[] = {
      {u".-", {1}, u"イ"},  // not 1 or ィ
      {u"--", {1}, u"ヨ"},
      {u"..", {1}, u"゛"},
      {u".--.-", {1, 1, 1, 1}, u"ー"},
      {u"-..---", {1, 1, 1, 1, 1}, u"[ホレ]"},
      {u"...-.", {1, 1, 1, 1}, u"[ラタ]"},
      {u"..--..", {1, 1, 1, 1, 1}, u"？"},
      {u".----", {1, 1, 1, 1}, u"一"},
      {u".-.-.-", {1, 1, 1, 1, 1}, u"、"},
      {u"---.....", {1, 1, 1, 2, 1, 1, 1}, u"ソヌ"},    // split at the widest gap
      {u"---.....", {1, 1, 1, 1, 1, 2, 1}, u"〓"},      // "---...." is no code
      {u"-------", {1, 1, 1, 1, 1, 1}, u"〓"},          // equal gaps: the first, "-" + "------"
      {u"..-..-..-", {1, 1, 1, 1, 1, 2, 1, 1}, u"〓"},  // "..-..-" is no code
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncodeUtf8(ReadCode(c.code, c.gaps)), EncodeUtf8(c.text)) << EncodeUtf8(c.code);
  }
  EXPECT_FALSE(LookUpCode(u"........"));
}

}  // namespace
}  // namespace hoshizora

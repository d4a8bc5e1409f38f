#include "decode/timing_feedback.h"

#include <gtest/gtest.h>

#include "base/utf8.h"
#include "encoding/encode_telegram.h"
#include "support/keyed_signal.h"

namespace hoshizora {
namespace {

using testing::Hand;
using testing::KeyCode;
using testing::Keying;
using testing::Tone;

constexpr std::u16string_view kTelegram =
    u"[ホレ]ヨテイドオリ、ツギノデンシャデカエル」ハハウエニヨロシク」[ラタ]";

TimingFeedback Measure(const Keying& keying, double snr_db = 99) {
  AudioClip clip{8000, Tone(keying, 8000, 750)};
  if (snr_db < 90) {
    testing::AddNoise(clip.samples, 8000, 0.5, snr_db, 21);
  }
  const DecodeResult decoded = DecodeAudio(clip);
  EXPECT_TRUE(decoded.keying_found);
  return MeasureTiming(decoded);
}

TEST(TimingFeedbackTest, MeasuresExactAndHandKeying) {
  const std::u16string code = EncodeTelegram(kTelegram);
  const struct {
    const char* name;
    double unit_s;
    Hand hand;
    double unit_tolerance_ms;
    double ratio;
    double ratio_tolerance;
    double char_gap;
    double gap_tolerance;
  } cases[] = {
      {"100 CPM", 0.109, {}, 1, 3, 0.05, 3, 0.05},
      {"40 CPM", 0.24, {}, 1, 3, 0.05, 3, 0.05},
      {"150 CPM", 0.075, {}, 1, 3, 0.05, 3, 0.05},
      {"hand",
       0.1,
       {.dah_units = 2.6, .char_gap_units = 2.6, .jitter = 0.15, .seed = 9},
       5,
       2.6,
       0.15,
       2.6,
       0.1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const TimingFeedback f = Measure(KeyCode(code, c.unit_s, c.hand));
    EXPECT_NEAR(f.unit_ms, c.unit_s * 1000, c.unit_tolerance_ms);
    EXPECT_NEAR(f.cpm, 12000 / (c.unit_s * 1000) - 10, 12000 / (c.unit_s * 1000) * 0.05);
    EXPECT_NEAR(f.wpm, 1.2 / c.unit_s, 0.6);
    EXPECT_NEAR(f.dah_dit_ratio, c.ratio, c.ratio_tolerance);
    EXPECT_NEAR(f.char_gap_units, c.char_gap, c.gap_tolerance);
    EXPECT_NEAR(f.element_gap_units, 1, c.gap_tolerance);
    EXPECT_NEAR(f.weight, 1, 0.1);
    EXPECT_EQ(f.word_gap_units, 0);
  }
}

TEST(TimingFeedbackTest, SpeedStabilityAndDriftFollowTheSender) {
  // Sixty characters slowing from a 80 ms to a 120 ms unit, then the same
  // at a steady 100 ms.
  Keying drifting{{false, 0.3}};
  Keying steady{{false, 0.3}};
  const std::u16string_view kana = u"イロハニホヘトチリヌルヲワカヨタレソツネ";
  for (int i = 0; i < 60; ++i) {
    const std::u16string token = EncodeTelegram(kana.substr(i % 20, 1));
    const double unit = 0.08 + 0.04 * i / 59.0;
    const Keying a = KeyCode(token, unit, {}, 3 * unit);
    const Keying b = KeyCode(token, 0.1, {}, 0.3);
    drifting.insert(drifting.end(), a.begin() + 1, a.end());
    steady.insert(steady.end(), b.begin() + 1, b.end());
  }
  const TimingFeedback d = Measure(drifting);
  const TimingFeedback s = Measure(steady);
  EXPECT_LT(s.speed_cv, 0.01);
  EXPECT_NEAR(s.drift_cpm_per_min, 0, 1);
  EXPECT_GT(d.speed_cv, 0.1);
  // From 140 to 90 CPM over the recording.
  const double minutes = d.speed_track.back().first / 60;
  EXPECT_LT(d.drift_cpm_per_min, -40 / minutes);
  EXPECT_GT(d.drift_cpm_per_min, -60 / minutes);
  EXPECT_EQ(d.speed_track.size(), 6U);
}

TEST(TimingFeedbackTest, NamesTheCharactersAtRiskAndShortDahs) {
  // ヲ with a 1.9-unit gap inside, ム and ヘ 2.0 units apart, ハ with dahs
  // of 2.2 units, among well-keyed ones.
  const double u = 0.1;
  Keying keying{{false, 0.5}};
  auto add = [&](std::vector<std::pair<bool, double>> units) {
    for (const auto& [on, n] : units) {
      keying.emplace_back(on, n * u);
    }
  };
  for (int i = 0; i < 3; ++i) {
    add({{true, 1}, {false, 1}, {true, 3}, {false, 3}});  // イ
    add({{true, 3}, {false, 1}, {true, 1}, {false, 3}});  // タ
  }
  add({{true, 1}, {false, 1}, {true, 3}, {false, 1.9}, {true, 3}, {false, 1}, {true, 3}});
  add({{false, 3}, {true, 3}, {false, 2.0}, {true, 1}, {false, 3}});
  add({{true, 2.2}, {false, 1}, {true, 1}, {false, 1}, {true, 1}, {false, 1}, {true, 1}});
  add({{false, 3}, {true, 1}, {false, 1}, {true, 3}, {false, 0.5}});
  const TimingFeedback f = Measure(keying);
  ASSERT_EQ(f.at_risk.size(), 2U);
  EXPECT_EQ(EncodeUtf8(f.at_risk[0].character), "ヲ");
  EXPECT_EQ(EncodeUtf8(f.at_risk[0].code), ".- --");
  // The gaps are measured against a unit read from all of them, so the
  // figure is near, not exact.
  EXPECT_TRUE(f.at_risk[0].why.starts_with(u"inner gap 1.")) << EncodeUtf8(f.at_risk[0].why);
  EXPECT_TRUE(f.at_risk[0].why.ends_with(u" units: may be heard as イ + ヨ"));
  // Six characters of 0.8 s after the first 0.5 s; the gap after ヲ's dah.
  EXPECT_NEAR(f.at_risk[0].at_s, 0.5 + 6 * 0.8 + 0.5, 0.005);
  EXPECT_EQ(EncodeUtf8(f.at_risk[1].character), "ムヘ");
  EXPECT_EQ(EncodeUtf8(f.at_risk[1].code), "- .");
  EXPECT_TRUE(f.at_risk[1].why.starts_with(u"character gap 1.") ||
              f.at_risk[1].why.starts_with(u"character gap 2.0"));
  EXPECT_TRUE(f.at_risk[1].why.ends_with(u" units: may be heard as タ"));
  EXPECT_TRUE(f.at_risk[0].inner_gap && !f.at_risk[1].inner_gap);
  EXPECT_EQ(EncodeUtf8(f.at_risk[0].first_heard + u"|" + f.at_risk[0].second_heard), "イ|ヨ");
  EXPECT_EQ(EncodeUtf8(f.at_risk[1].first_heard + u"|" + f.at_risk[1].second_heard), "タ|");
  EXPECT_GT(f.at_risk[0].units, 1.8);
  EXPECT_LT(f.at_risk[1].units, 2.2);
  std::string flagged;
  for (const CharacterRatio& r : f.ratios) {
    flagged += r.flagged ? EncodeUtf8(r.character) : "";
  }
  EXPECT_EQ(flagged, "ハ");
}

}  // namespace
}  // namespace hoshizora

#include "decode/decoder.h"

#include <gtest/gtest.h>

#include "base/utf8.h"
#include "encoding/encode_telegram.h"
#include "support/keyed_signal.h"

namespace hoshizora {
namespace {

using testing::AddNoise;
using testing::Hand;
using testing::KeyCode;
using testing::Keying;
using testing::Tone;

constexpr std::u16string_view kTelegram = u"[ホレ]ヨテイドオリ、ツギノデンシャデカエル」[ラタ]";
constexpr std::u16string_view kDecoded =
    u"[ホレ]ヨテイト゛オリ、ツキ゛ノテ゛ンシヤテ゛カエル」[ラタ]";

double UnitSeconds(int cpm) {
  return (12000 / (cpm + 10)) / 1000.0;
}

std::string Decoded(const AudioClip& clip) {
  return EncodeUtf8(DecodeAudio(clip).text);
}

TEST(DecoderTest, ReadsKeyingAtEachSpeedRateAndNoiseLevel) {
  const struct {
    int cpm;
    int rate;
    double hz;
    double snr_db;  // over 90: no noise
  } cases[] = {
      {40, 8000, 700, 99}, {100, 44100, 440, 99}, {150, 48000, 2000, 99}, {40, 8000, 600, 0},
      {100, 8000, 800, 3}, {100, 8000, 800, 0},   {150, 8000, 1000, 3},   {75, 22050, 160, 3},
  };
  const std::u16string code = EncodeTelegram(kTelegram);
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.cpm << " CPM, " << c.rate << " Hz, " << c.hz
                                      << " Hz tone, " << c.snr_db << " dB");
    AudioClip clip{c.rate, Tone(KeyCode(code, UnitSeconds(c.cpm)), c.rate, c.hz)};
    if (c.snr_db < 90) {
      AddNoise(clip.samples, c.rate, 0.5, c.snr_db, 11);
    }
    const DecodeResult r = DecodeAudio(clip);
    EXPECT_TRUE(r.keying_found);
    EXPECT_NEAR(r.tone.hz, c.hz, 3);
    EXPECT_EQ(EncodeUtf8(r.text), EncodeUtf8(kDecoded));
    // The envelope window stays under half a dit.
    EXPECT_LE(r.smoothing_s, UnitSeconds(c.cpm) / 2);
  }
}

TEST(DecoderTest, FollowsAHandThatJittersAndChangesSpeed) {
  Hand hand{.dah_units = 2.6, .char_gap_units = 2.6, .jitter = 0.15, .wander = 0.1, .seed = 3};
  const std::u16string code = EncodeTelegram(kTelegram);
  // The same telegram at 60 CPM, then without a break at 130.
  Keying keying = KeyCode(code, UnitSeconds(60), hand);
  keying.pop_back();
  keying.emplace_back(false, 3 * UnitSeconds(60));
  const Keying faster = KeyCode(code, UnitSeconds(130), hand);
  keying.insert(keying.end(), faster.begin() + 1, faster.end());
  AudioClip clip{8000, Tone(keying, 8000, 650)};
  AddNoise(clip.samples, 8000, 0.5, 10, 5);
  EXPECT_EQ(Decoded(clip), EncodeUtf8(kDecoded) + EncodeUtf8(kDecoded));
}

TEST(DecoderTest, ReadsALightOrHeavyFist) {
  // Every mark 20 ms shorter (as soft edges at 150 CPM make it at half
  // height) or 20 ms longer, every gap the other way.
  for (double w : {-0.02, 0.02}) {
    Keying keying = KeyCode(EncodeTelegram(kTelegram), UnitSeconds(150));
    for (std::size_t i = 1; i + 1 < keying.size(); ++i) {
      keying[i].second += keying[i].first ? w : -w;
    }
    EXPECT_EQ(Decoded({8000, Tone(keying, 8000, 700)}), EncodeUtf8(kDecoded)) << w;
  }
}

TEST(DecoderTest, KeepsItsThresholdThroughAFade) {
  AudioClip clip{8000, Tone(KeyCode(EncodeTelegram(kTelegram), UnitSeconds(100)), 8000, 900)};
  for (std::size_t i = 0; i < clip.samples.size(); ++i) {
    clip.samples[i] *= static_cast<float>(1 - 0.95 * static_cast<double>(i) / clip.samples.size());
  }
  AddNoise(clip.samples, 8000, 0.025, 10, 2);
  EXPECT_EQ(Decoded(clip), EncodeUtf8(kDecoded));
}

TEST(DecoderTest, DropsGroupMarksAndMarksWordGaps) {
  const double unit = UnitSeconds(100);
  // ？ with a 5-second pause after it is a Group mark; with a character gap
  // it is a question mark; "|" keys a word gap.
  Keying keying = KeyCode(u"-. ..--.. ", unit);
  keying.pop_back();
  keying.emplace_back(false, 5);
  const Keying rest = KeyCode(u".- ..--.. -. | .- -. ", unit);
  keying.insert(keying.end(), rest.begin() + 1, rest.end());
  AudioClip clip{8000, Tone(keying, 8000, 700)};
  EXPECT_EQ(Decoded(clip), "タイ？タ イタ");
}

TEST(DecoderTest, FindsNothingInSilenceNoiseOrAnUnkeyedTone) {
  const int rate = 8000;
  std::vector<AudioClip> clips;
  clips.push_back({rate, {}});
  clips.push_back({rate, std::vector<float>(rate * 20, 0.0F)});
  for (std::uint64_t seed : {1, 2, 3}) {
    AudioClip noise{rate, std::vector<float>(rate * 30, 0.0F)};
    AddNoise(noise.samples, rate, 0.5, 0, seed);
    clips.push_back(noise);
    AudioClip short_noise{44100, std::vector<float>(44100 / 2, 0.0F)};
    AddNoise(short_noise.samples, 44100, 0.5, 0, seed);
    clips.push_back(short_noise);
  }
  clips.push_back({rate, Tone({{true, 20.0}}, rate, 1000)});
  AudioClip hum{rate, Tone({{true, 20.0}}, rate, 300)};
  AddNoise(hum.samples, rate, 0.5, 10, 9);
  clips.push_back(hum);
  for (std::size_t i = 0; i < clips.size(); ++i) {
    const DecodeResult r = DecodeAudio(clips[i]);
    EXPECT_FALSE(r.keying_found) << i;
    EXPECT_EQ(EncodeUtf8(r.text), "") << i;
    EXPECT_TRUE(r.characters.empty()) << i;
  }
}

TEST(DecoderTest, BodyLiesBetweenTheSignsOrIsTheWholeText) {
  const struct {
    std::u16string_view text;
    std::u16string_view body;
    bool start;
    bool end;
  } cases[] = {
      {u"ア[ホレ] イロ [ラタ]ハ", u"イロ", true, true},
      {u"イロ[ラタ]", u"イロ[ラタ]", false, true},
      {u"[ホレ]イロ", u"[ホレ]イロ", true, false},
      {u"[ラタ]イ[ホレ]ロ", u"[ラタ]イ[ホレ]ロ", true, false},
  };
  for (const auto& c : cases) {
    bool start = false;
    bool end = false;
    EXPECT_EQ(EncodeUtf8(DecodedBody(std::u16string(c.text), &start, &end)), EncodeUtf8(c.body));
    EXPECT_EQ(start, c.start);
    EXPECT_EQ(end, c.end);
  }
}

}  // namespace
}  // namespace hoshizora

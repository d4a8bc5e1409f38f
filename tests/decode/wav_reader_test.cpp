#include "decode/wav_reader.h"

#include <gtest/gtest.h>

#include <cmath>

#include "base/little_endian.h"
#include "support/keyed_signal.h"

namespace hoshizora {
namespace {

using testing::WavBytes;
using testing::WavFormat;

// A ramp through the whole range, so that sign, scale and byte order all show.
std::vector<float> Ramp() {
  std::vector<float> v;
  for (int i = -8; i <= 8; ++i) {
    v.push_back(static_cast<float>(i) / 8.0F * 0.99F);
  }
  return v;
}

TEST(WavReaderTest, ReadsEveryEncodingAndLayoutBackToTheSamples) {
  const struct {
    WavFormat format;
    double tolerance;
  } cases[] = {
      {{8000, 1, 8, false, false}, 1.0 / 50},      {{44100, 1, 16, false, false}, 1.0 / 16000},
      {{48000, 2, 16, false, false}, 1.0 / 16000}, {{96000, 1, 24, false, false}, 1e-6},
      {{22050, 2, 32, false, false}, 1e-6},        {{44100, 1, 32, true, false}, 1e-7},
      {{48000, 2, 32, true, true}, 1e-7},          {{44100, 2, 24, false, true}, 1e-6},
      {{16000, 1, 16, false, true}, 1.0 / 16000},
  };
  const std::vector<float> ramp = Ramp();
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.format.rate << " Hz, " << c.format.channels << " ch, " << c.format.bits
                 << " bits, float " << c.format.is_float << ", extensible " << c.format.extensible);
    const WavRead read = ReadWav(WavBytes(ramp, c.format));
    ASSERT_EQ(read.status, WavReadStatus::kRead);
    EXPECT_EQ(read.clip.rate, c.format.rate);
    EXPECT_EQ(read.channels, c.format.channels);
    EXPECT_EQ(read.frames, ramp.size());
    ASSERT_EQ(read.clip.samples.size(), ramp.size());
    for (std::size_t i = 0; i < ramp.size(); ++i) {
      EXPECT_NEAR(read.clip.samples[i], ramp[i], c.tolerance) << i;
    }
  }
}

TEST(WavReaderTest, MixesStereoDownAndSkipsOtherChunks) {
  // Left +0.5, right -0.25: the mix is their mean. A LIST chunk of odd
  // length (padded) comes before the data.
  std::string data;
  for (int i = 0; i < 4; ++i) {
    AppendLe(data, static_cast<std::uint16_t>(16384), 2);
    AppendLe(data, static_cast<std::uint16_t>(-8192), 2);
  }
  std::string wav = WavBytes({}, {44100, 2, 16, false, false});
  wav.resize(wav.size() - 8);  // drop the empty data chunk
  wav += "LIST";
  AppendLe(wav, 3, 4);
  wav += std::string("abc\0", 4);
  wav += "data";
  AppendLe(wav, static_cast<std::uint32_t>(data.size()), 4);
  wav += data;
  const WavRead read = ReadWav(wav);
  ASSERT_EQ(read.status, WavReadStatus::kRead);
  ASSERT_EQ(read.clip.samples.size(), 4U);
  EXPECT_FLOAT_EQ(read.clip.samples[0], 0.125F);
}

TEST(WavReaderTest, RefusesWhatItCannotReadAndReadsCutFilesAsFarAsTheyGo) {
  const std::string good = WavBytes(std::vector<float>(100, 0.1F), {});
  auto with = [&](std::size_t at, std::uint32_t value, int bytes) {
    std::string w = good;
    std::string field;
    AppendLe(field, value, bytes);
    w.replace(at, static_cast<std::size_t>(bytes), field);
    return w;
  };
  std::string no_data = good.substr(0, 36);
  std::string short_fmt = good;
  short_fmt.replace(16, 4, std::string("\x0c\x00\x00\x00", 4));
  const struct {
    const char* name;
    std::string bytes;
    WavReadStatus status;
  } cases[] = {
      {"empty", "", WavReadStatus::kNotWav},
      {"text", "hello, this is not a wav file at all", WavReadStatus::kNotWav},
      {"RIFF without WAVE", with(8, 0x41564157, 4), WavReadStatus::kNotWav},
      {"no data chunk", no_data, WavReadStatus::kNotWav},
      {"fmt of 12 bytes", short_fmt, WavReadStatus::kNotWav},
      {"ADPCM", with(20, 2, 2), WavReadStatus::kUnsupported},
      {"three channels", with(22, 3, 2), WavReadStatus::kUnsupported},
      {"no channels", with(22, 0, 2), WavReadStatus::kBadFormat},
      {"12 bits", with(34, 12, 2), WavReadStatus::kUnsupported},
      {"float of 16 bits", with(20, 3, 2), WavReadStatus::kUnsupported},
      {"block align off", with(32, 4, 2), WavReadStatus::kBadFormat},
      {"4 kHz", with(24, 4000, 4), WavReadStatus::kRateOutOfRange},
      {"192 kHz", with(24, 192000, 4), WavReadStatus::kRateOutOfRange},
      {"data claiming 4 GiB", with(40, 0xFFFFFFF0, 4), WavReadStatus::kRead},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReadWav(c.bytes).status, c.status);
  }
  // A data chunk that claims more than the file holds is read as far as it
  // goes, in whole frames.
  const WavRead cut = ReadWav(good.substr(0, good.size() - 51));
  EXPECT_EQ(cut.status, WavReadStatus::kRead);
  EXPECT_EQ(cut.frames, 74U);
}

TEST(WavReaderTest, RefusesMoreFramesThanTheBoundBeforeReadingAny) {
  const std::string wav = WavBytes(std::vector<float>(1000, 0.5F), {});
  EXPECT_EQ(ReadWav(wav, 1000).status, WavReadStatus::kRead);
  const WavRead read = ReadWav(wav, 999);
  EXPECT_EQ(read.status, WavReadStatus::kTooLong);
  EXPECT_EQ(read.frames, 1000U);
  EXPECT_TRUE(read.clip.samples.empty());
}

}  // namespace
}  // namespace hoshizora

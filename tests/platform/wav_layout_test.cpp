#include "platform/wav_layout.h"

#include <gtest/gtest.h>

#include <string>

#include "base/little_endian.h"

namespace hoshizora {
namespace {

std::string Chunk(std::string_view id, const std::string& body) {
  std::string c(id);
  AppendLe(c, static_cast<std::uint32_t>(body.size()), 4);
  c += body;
  if (body.size() % 2 != 0) {
    c.push_back('\0');
  }
  return c;
}

std::string Format(int tag, int channels, int rate, int bits) {
  std::string f;
  AppendLe(f, static_cast<std::uint32_t>(tag), 2);
  AppendLe(f, static_cast<std::uint32_t>(channels), 2);
  AppendLe(f, static_cast<std::uint32_t>(rate), 4);
  AppendLe(f, static_cast<std::uint32_t>(rate * channels * bits / 8), 4);
  AppendLe(f, static_cast<std::uint32_t>(channels * bits / 8), 2);
  AppendLe(f, static_cast<std::uint32_t>(bits), 2);
  return f;
}

std::string Riff(const std::string& chunks) {
  std::string w = "RIFF";
  AppendLe(w, static_cast<std::uint32_t>(4 + chunks.size()), 4);
  return w + "WAVE" + chunks;
}

TEST(WavLayout, FindsTheFormatAndTheSamplesPastOtherChunks) {
  const std::string ours = Riff(Chunk("fmt ", Format(1, 1, 44100, 16)) + Chunk("data", "\1\2"));
  const auto plain = ReadWavLayout(ours);
  ASSERT_TRUE(plain.has_value());
  EXPECT_EQ(plain->channels, 1);
  EXPECT_EQ(plain->sample_rate, 44100);
  EXPECT_EQ(plain->bits, 16);
  EXPECT_EQ(plain->data_offset, 44u) << "the canonical header";

  // A longer fmt chunk and an odd-sized chunk, padded, before the samples.
  const std::string padded = Riff(Chunk("fmt ", Format(1, 2, 8000, 8) + std::string(2, '\0')) +
                                  Chunk("LIST", "abc") + Chunk("data", "\1\2"));
  const auto other = ReadWavLayout(padded);
  ASSERT_TRUE(other.has_value());
  EXPECT_EQ(other->channels, 2);
  EXPECT_EQ(other->bits, 8);
  EXPECT_EQ(other->data_offset, 12u + 8 + 18 + 8 + 4 + 8);
}

TEST(WavLayout, RefusesWhatTheAudioOutputCannotTake) {
  const std::string data = Chunk("data", "\1\2");
  const std::string refused[] = {
      "",
      "[ホレ]アイ[ラタ]",
      Riff(Chunk("fmt ", Format(3, 1, 44100, 32)) + data),  // floating point
      Riff(Chunk("fmt ", Format(1, 1, 44100, 24)) + data),
      Riff(Chunk("fmt ", Format(1, 3, 44100, 16)) + data),
      Riff(Chunk("fmt ", Format(1, 1, 0, 16)) + data),
      Riff(data + Chunk("fmt ", Format(1, 1, 44100, 16))),  // samples before their format
      Riff(Chunk("fmt ", Format(1, 1, 44100, 16).substr(0, 14)) + data),
      Riff(Chunk("fmt ", Format(1, 1, 44100, 16))),  // no samples
      Riff(Chunk("fmt ", Format(1, 1, 44100, 16)) + Chunk("LIST", std::string(5000, 'x')) + data),
  };
  for (const std::string& bytes : refused) {
    EXPECT_FALSE(ReadWavLayout(std::string_view(bytes).substr(0, kWavHeadBytes)).has_value())
        << bytes.size();
  }
}

}  // namespace
}  // namespace hoshizora

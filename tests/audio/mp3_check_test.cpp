#include "audio/mp3_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "audio/wav_writer.h"
#include "support/native_system.h"
#include "support/temp_dir.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::TempDir;

constexpr std::uint32_t kRate = 44100;

// MPEG-1 Layer III, 64 kbps, 44.1 kHz, mono: 208 bytes a frame (209 padded),
// 1152 samples. The header is followed by zeros.
std::string Frame(bool padded = false) {
  std::string f(padded ? 209 : 208, '\0');
  f[0] = '\xFF';
  f[1] = '\xFB';
  f[2] = padded ? '\x52' : '\x50';
  f[3] = '\xC4';
  return f;
}

std::string Frames(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) {
    s += Frame();
  }
  return s;
}

// A first frame carrying an Info header with a frame count and a byte count.
std::string InfoFrame(std::uint32_t frames, std::uint32_t bytes) {
  std::string f = Frame();
  const auto be = [](std::uint32_t v) {
    return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 8), static_cast<char>(v)};
  };
  f.replace(4 + 17, 16, "Info" + be(3) + be(frames) + be(bytes));
  return f;
}

// An ID3v2.3 tag of `body` bytes (syncsafe size), without a footer.
std::string Id3Tag(std::uint32_t body) {
  std::string t = "ID3\x03";
  t += std::string(2, '\0');
  for (int shift = 21; shift >= 0; shift -= 7) {
    t += static_cast<char>((body >> shift) & 0x7F);
  }
  return t + std::string(body, 'T');
}

Mp3Verdict Check(const std::string& file, double seconds) {
  return CheckMp3(file, file.size(), static_cast<std::uint64_t>(seconds * kRate), kRate);
}

TEST(Mp3Check, ConstantBitrateStreamIsJudgedByItsLength) {
  // 64 kbps is 8000 bytes a second: 40 frames of 208 bytes are 1.04 s.
  const std::string stream = Frames(40);
  EXPECT_EQ(Check(stream, 1.0), Mp3Verdict::kWhole);
  EXPECT_EQ(Check(stream + std::string(128, 'x'), 1.0), Mp3Verdict::kWhole) << "ID3v1 tag";
  EXPECT_EQ(Check(Frames(400), 10.0), Mp3Verdict::kWhole);
  EXPECT_EQ(Check(Frames(200), 10.0), Mp3Verdict::kTruncated) << "half of it";
  EXPECT_EQ(Check(Frames(400) + Frame(true), 10.0), Mp3Verdict::kWhole) << "padded frame";
  // Only the head is needed; the size tells the rest.
  const std::string whole = Frames(4000);
  EXPECT_EQ(CheckMp3(std::string_view(whole).substr(0, 8192), whole.size(), 100 * kRate, kRate),
            Mp3Verdict::kWhole);
}

TEST(Mp3Check, AFrameCountIsHeldToBothSidesAndAByteCountShowsTruncation) {
  std::string stream = InfoFrame(100, 101 * 208) + Frames(100);  // 100 frames: 2.61 s
  EXPECT_EQ(Check(stream, 2.6), Mp3Verdict::kWhole);
  EXPECT_EQ(Check(stream, 10.0), Mp3Verdict::kWrongLength);
  EXPECT_EQ(Check(stream, 0.5), Mp3Verdict::kWrongLength) << "much longer than the audio";
  EXPECT_EQ(Check(stream.substr(0, stream.size() - 1), 2.6), Mp3Verdict::kTruncated);
  EXPECT_EQ(Check(stream.substr(0, 208 * 3), 2.6), Mp3Verdict::kTruncated);
}

TEST(Mp3Check, AnId3TagIsSkippedBySize) {
  const std::string tagged = Id3Tag(300) + InfoFrame(40, 41 * 208) + Frames(40);
  EXPECT_EQ(Check(tagged, 1.0), Mp3Verdict::kWhole);
  EXPECT_EQ(Check(tagged.substr(0, tagged.size() - 10), 1.0), Mp3Verdict::kTruncated);
  EXPECT_EQ(Check(Id3Tag(300).substr(0, 200), 1.0), Mp3Verdict::kTruncated) << "tag cut short";
  EXPECT_EQ(Mp3HeadBytesWanted(Id3Tag(300)), 310u + Mp3HeadBytesWanted({}));

  // A tag larger than the head read so far: the check asks for more.
  const std::string big = Id3Tag(100000) + Frames(40);
  EXPECT_EQ(CheckMp3(std::string_view(big).substr(0, 8192), big.size(), kRate, kRate),
            Mp3Verdict::kNotMp3);
  const std::uint64_t wanted = Mp3HeadBytesWanted(std::string_view(big).substr(0, 10));
  EXPECT_EQ(CheckMp3(std::string_view(big).substr(0, wanted), big.size(), kRate, kRate),
            Mp3Verdict::kWhole);
}

TEST(Mp3Check, WhatIsNoMpegAudioIsRefused) {
  EXPECT_EQ(Check("", 0), Mp3Verdict::kNotMp3);
  EXPECT_EQ(Check("junk written by a broken encoder\n", 0), Mp3Verdict::kNotMp3);
  EXPECT_EQ(Check(std::string(20000, '\xFF'), 1.0), Mp3Verdict::kNotMp3) << "bitrate index 15";
  std::string free_format = Frames(40);
  free_format[2] = '\x00';
  EXPECT_EQ(Check(free_format, 1.0), Mp3Verdict::kNotMp3);
  EXPECT_EQ(Check(Frame() + "not a second frame" + Frames(40), 1.0), Mp3Verdict::kNotMp3)
      << "one frame header alone may be chance";
  std::string riff("RIFF\0\0\0\0WAVEfmt ", 16);
  EXPECT_EQ(Check(riff + std::string(20000, '\0'), 1.0), Mp3Verdict::kNotMp3)
      << "a copy of the WAV";
}

#ifndef _WIN32
// What the encoder installed here really writes for our WAVs must pass, and
// the same file cut short must not. (Debian has no Windows lame.)
TEST(Mp3Check, RealEncoderOutputPassesAndItsTruncationFails) {
  ASSERT_TRUE(fs::exists("/usr/bin/lame")) << "scripts/bootstrap installs lame";
  TempDir dir;
  const std::u16string code = u"-.-. ？ .. --- .-.-. -- .--. ";
  testing::NativeSystem system;
  const WavResult wav = WriteMorseWav(system, dir.path() / "a", code, 800, 60);
  ASSERT_EQ(wav.status, WavStatus::kWritten);
  const auto encode = [&](std::vector<fs::path> options, const fs::path& mp3) {
    std::vector<fs::path> argv = {"/usr/bin/lame", "--quiet"};
    argv.insert(argv.end(), options.begin(), options.end());
    argv.push_back(dir.path() / "a.wav");
    argv.push_back(mp3);
    const ProcessResult r = system.RunProcess(argv, nullptr);
    return r.kind == ProcessResult::Kind::kExited && r.exit_code == 0;
  };
  const auto check = [&](const std::string& file) {
    return CheckMp3(file, file.size(), wav.samples, kSampleRate);
  };
  for (const std::vector<fs::path>& options :
       {std::vector<fs::path>{}, {"-V2"}, {"--add-id3v2", "--tt", "電報"}, {"-b", "320"}}) {
    const fs::path mp3 = dir.path() / "a.mp3";
    ASSERT_TRUE(encode(options, mp3));
    const std::string file = ReadFileBytes(mp3);
    const std::string label = options.empty() ? "defaults" : options.front().string();
    EXPECT_EQ(check(file), Mp3Verdict::kWhole) << label;
    EXPECT_NE(check(file.substr(0, file.size() / 2)), Mp3Verdict::kWhole) << label;
    EXPECT_NE(check(file.substr(0, file.size() - 300)), Mp3Verdict::kWhole) << label;
    EXPECT_NE(CheckMp3(file, file.size(), wav.samples * 3, kSampleRate), Mp3Verdict::kWhole)
        << label << ": the MP3 of a shorter recording";
  }
}

#endif

}  // namespace
}  // namespace hoshizora

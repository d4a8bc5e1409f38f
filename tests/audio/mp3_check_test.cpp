#include "audio/mp3_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "audio/sample_telegram.h"
#include "audio/wav_writer.h"
#include "support/native_system.h"
#include "support/temp_dir.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::TempDir;

constexpr std::uint32_t kRate = 44100;
constexpr std::uint64_t kSpf = 1152;

std::string Be32(std::uint32_t v) {
  return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
          static_cast<char>(v)};
}

// MPEG-1 Layer III, 44.1 kHz, mono: at 64 kbps 208 bytes a frame (209
// padded), at 128 kbps 417; 1152 samples. The header is followed by zeros.
std::string Frame(bool padded = false, bool fast = false) {
  std::string f(fast ? 417 : padded ? 209 : 208, '\0');
  f.replace(0, 4, fast ? "\xFF\xFB\x90\xC4" : padded ? "\xFF\xFB\x52\xC4" : "\xFF\xFB\x50\xC4");
  return f;
}

std::string Frames(std::uint64_t n) {
  std::string s;
  for (std::uint64_t i = 0; i < n; ++i) {
    s += Frame(i % 3 == 2);
  }
  return s;
}

// A first frame carrying a Xing or Info header (after the 17 bytes of mono
// side information) with the counts given.
std::string XingFrame(const char* name, std::optional<std::uint32_t> frames,
                      std::optional<std::uint32_t> bytes, bool fast = false) {
  std::string f = Frame(false, fast);
  std::string note = std::string(name) + Be32((frames ? 1 : 0) | (bytes ? 2 : 0));
  note += (frames ? Be32(*frames) : "") + (bytes ? Be32(*bytes) : "");
  return f.replace(4 + 17, note.size(), note);
}

// A first frame carrying a VBRI header (32 bytes after the frame header).
std::string VbriFrame(std::uint32_t bytes, std::uint32_t frames) {
  std::string f = Frame();
  const std::string note = "VBRI" + std::string(6, '\0') + Be32(bytes) + Be32(frames);
  return f.replace(4 + 32, note.size(), note);
}

// An ID3v2.3 tag of `body` bytes (syncsafe size), without a footer.
std::string Id3Tag(std::uint32_t body) {
  std::string t("ID3\x03\0\0", 6);
  for (int shift = 21; shift >= 0; shift -= 7) {
    t += static_cast<char>((body >> shift) & 0x7F);
  }
  return t + std::string(body, 'T');
}

// An APE tag of one footer only (size 32, no header flag).
std::string ApeFooter() {
  std::string f = "APETAGEX" + std::string(24, '\0');
  f[8] = '\xD0';
  f[9] = '\x07';
  f[12] = 32;
  return f;
}

std::string Id3v1() {
  return "TAG" + std::string(125, ' ');
}

// Frames worth of samples, less LAME's delay and padding (1105 + 595).
std::uint64_t AudioOf(std::uint64_t frames) {
  return frames * kSpf - 1700;
}

TEST(Mp3Check, TheFrameChainDecides) {
  struct Case {
    const char* name;
    std::string file;
    std::uint64_t pcm_samples;
    Mp3Verdict verdict;
  };
  const std::string stream = Frames(40);
  const std::string fake_zeros = Frame() + Frame() + std::string(38 * 208, '\0');
  std::string other_rate = Frames(40);
  other_rate[Frames(20).size() + 2] = '\x54';  // one frame at 48 kHz in the middle
  std::string free_format = Frames(40);
  free_format[2] = '\x00';
  const Case cases[] = {
      {"plain stream", stream, AudioOf(40), Mp3Verdict::kWhole},
      {"ID3v1 after it", stream + Id3v1(), AudioOf(40), Mp3Verdict::kWhole},
      {"APE and ID3v1 after it", stream + ApeFooter() + Id3v1(), AudioOf(40), Mp3Verdict::kWhole},
      {"ID3v2 in front", Id3Tag(300) + stream, AudioOf(40), Mp3Verdict::kWhole},
      {"Info frame that agrees", XingFrame("Info", 40, 41 * 208 + 13) + stream, AudioOf(40),
       Mp3Verdict::kWhole},
      {"VBRI frame that agrees", VbriFrame(41 * 208 + 13, 40) + stream, AudioOf(40),
       Mp3Verdict::kWhole},
      {"audio exactly as long", stream, 40 * kSpf, Mp3Verdict::kWhole},
      {"one frame short of the audio", stream, 41 * kSpf, Mp3Verdict::kWhole},
      {"more than a frame short", stream, 41 * kSpf + 1, Mp3Verdict::kWrongLength},
      {"longer than delay and padding", stream, 40 * kSpf - 2500 - 2 * kSpf - 1,
       Mp3Verdict::kWrongLength},
      {"a tenth of the audio", Frames(4), AudioOf(40), Mp3Verdict::kWrongLength},
      {"last frame cut by a byte", stream.substr(0, stream.size() - 1), AudioOf(40),
       Mp3Verdict::kTruncated},
      {"junk after the last frame", stream + "junk", AudioOf(40), Mp3Verdict::kBroken},
      {"ID3v1 before the APE tag", stream + Id3v1() + ApeFooter(), AudioOf(40),
       Mp3Verdict::kBroken},
      {"two headers, then zeros", fake_zeros, AudioOf(40), Mp3Verdict::kBroken},
      {"a frame of another stream", other_rate, AudioOf(40), Mp3Verdict::kBroken},
      {"garbage where the second frame starts", Frame() + "not a frame" + Frames(39), AudioOf(40),
       Mp3Verdict::kBroken},
      {"one frame whose Xing claims the stream", XingFrame("Xing", 1000, {}, true), AudioOf(1000),
       Mp3Verdict::kTruncated},
      {"Xing counts of a two-frame file", XingFrame("Xing", 1000, 2 * 208) + Frame(), AudioOf(1000),
       Mp3Verdict::kTruncated},
      {"Xing byte count only, of a two-frame file", XingFrame("Xing", {}, 2 * 208) + Frame(),
       AudioOf(1000), Mp3Verdict::kWrongLength},
      {"VBRI counts of a two-frame file", VbriFrame(2 * 208, 1000) + Frame(), AudioOf(1000),
       Mp3Verdict::kTruncated},
      {"Info frame count above the frames", XingFrame("Info", 45, {}) + stream, AudioOf(40),
       Mp3Verdict::kTruncated},
      {"Info byte count below the frames", XingFrame("Info", 40, 30 * 208) + stream, AudioOf(40),
       Mp3Verdict::kBroken},
      {"ID3v2 tag cut short", Id3Tag(300).substr(0, 200), AudioOf(40), Mp3Verdict::kTruncated},
      {"empty", "", 0, Mp3Verdict::kNotMp3},
      {"text", "junk written by a broken encoder\n", AudioOf(40), Mp3Verdict::kNotMp3},
      {"bitrate index 15", std::string(20000, '\xFF'), AudioOf(40), Mp3Verdict::kNotMp3},
      {"free format", free_format, AudioOf(40), Mp3Verdict::kNotMp3},
      {"a copy of the WAV", std::string("RIFF\0\0\0\0WAVEfmt ", 16) + std::string(20000, '\0'),
       AudioOf(40), Mp3Verdict::kNotMp3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CheckMp3(c.file, c.pcm_samples, kRate), c.verdict) << c.name;
  }
}

TEST(Mp3Check, AFileThatCannotBeReadToItsEndIsNotWhole) {
  const std::string stream = Frames(3000);  // longer than one read
  const Mp3Reader first_read_only = [&](std::uint64_t offset,
                                        std::size_t length) -> std::optional<std::string> {
    if (offset > 0) {
      return std::nullopt;
    }
    return stream.substr(0, length);
  };
  EXPECT_EQ(CheckMp3(first_read_only, stream.size(), AudioOf(3000), kRate),
            Mp3Verdict::kUnreadable);
  EXPECT_EQ(CheckMp3(stream, AudioOf(3000), kRate), Mp3Verdict::kWhole);
}

#ifndef _WIN32
// What the encoder installed here really writes for our WAVs must pass, and
// the same file cut short must not. (Debian has no Windows lame.)
class RealEncoderTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(fs::exists("/usr/bin/lame")) << "bootstrap installs lame"; }

  std::string Encode(const std::vector<fs::path>& options, const fs::path& wav) {
    std::vector<fs::path> argv = {"/usr/bin/lame", "--quiet"};
    argv.insert(argv.end(), options.begin(), options.end());
    argv.push_back(wav);
    argv.push_back(dir.path() / "a.mp3");
    const ProcessResult r = system.RunProcess(argv, nullptr);
    EXPECT_TRUE(r.kind == ProcessResult::Kind::kExited && r.exit_code == 0);
    return ReadFileBytes(dir.path() / "a.mp3");
  }

  TempDir dir;
  testing::NativeSystem system;
};

TEST_F(RealEncoderTest, ItsOutputPassesAndItsTruncationFails) {
  const std::u16string code = u"-.-. ？ .. --- .-.-. -- .--. ";
  const WavResult wav = WriteMorseWav(system, dir.path() / "a", code, 800, 60);
  ASSERT_EQ(wav.status, WavStatus::kWritten);
  for (const std::vector<fs::path>& options :
       {std::vector<fs::path>{}, {"-t"}, {"-V2"}, {"--add-id3v2", "--tt", "電報"}, {"-b", "320"}}) {
    const std::string file = Encode(options, dir.path() / "a.wav");
    const std::string label = options.empty() ? "defaults" : options.front().string();
    EXPECT_EQ(CheckMp3(file, wav.samples, kSampleRate), Mp3Verdict::kWhole) << label;
    EXPECT_NE(CheckMp3(file.substr(0, file.size() / 2), wav.samples, kSampleRate),
              Mp3Verdict::kWhole)
        << label;
    EXPECT_NE(CheckMp3(file.substr(0, file.size() - 300), wav.samples, kSampleRate),
              Mp3Verdict::kWhole)
        << label;
    EXPECT_NE(CheckMp3(file, wav.samples * 3, kSampleRate), Mp3Verdict::kWhole)
        << label << ": the MP3 of a shorter recording";
  }
}

// Minutes of audio: 4.5 % of it is seconds, far more than an encoder's delay,
// whether the cut falls inside a frame or between two.
TEST_F(RealEncoderTest, TheSampleTelegramPassesAndLosesNoTail) {
  const WavResult wav =
      WriteMorseWav(system, dir.path() / "sample", testing::SampleCodeText(), 440, 100);
  ASSERT_EQ(wav.status, WavStatus::kWritten);
  for (const bool info : {true, false}) {  // -t: no Info frame
    const std::string file = Encode(info ? std::vector<fs::path>{} : std::vector<fs::path>{"-t"},
                                    dir.path() / "sample.wav");
    const char* option = info ? "with Info" : "-t";
    EXPECT_EQ(CheckMp3(file, wav.samples, kSampleRate), Mp3Verdict::kWhole) << option;
    const std::size_t cut = file.size() - file.size() * 45 / 1000;
    EXPECT_EQ(CheckMp3(file.substr(0, cut), wav.samples, kSampleRate), Mp3Verdict::kTruncated)
        << option;
    const std::size_t frame_start = file.rfind(file.substr(0, 3), cut);
    ASSERT_NE(frame_start, std::string::npos);
    const Mp3Verdict between = CheckMp3(file.substr(0, frame_start), wav.samples, kSampleRate);
    EXPECT_TRUE(between == Mp3Verdict::kWrongLength || between == Mp3Verdict::kTruncated)
        << option << ": " << static_cast<int>(between);
  }
}

#endif

}  // namespace
}  // namespace hoshizora

#include "audio/wav_writer.h"

#include <gtest/gtest.h>

#include "base/little_endian.h"

#include <cmath>
#include <cstdint>
#include <sstream>

#include "platform/paths.h"
#include "support/temp_dir.h"
#include "support/test_system.h"

namespace hoshizora {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;

std::int16_t Sample(const std::string& b, std::size_t index) {
  const std::size_t at = 44 + 2 * index;
  return static_cast<std::int16_t>(static_cast<std::uint8_t>(b[at]) |
                                   (static_cast<std::uint8_t>(b[at + 1]) << 8));
}

class WavWriterTest : public ::testing::Test {
 protected:
  std::string Write(std::u16string_view code, int freq, int speed,
                    WavStatus expected = WavStatus::kWritten) {
    const WavResult r = WriteMorseWav(system, dir.path() / u"和文電報 x", code, freq, speed);
    EXPECT_EQ(r.status, expected);
    const std::string bytes = ReadFileBytes(dir.path() / u"和文電報 x.wav");
    if (expected == WavStatus::kWritten) {
      EXPECT_EQ(r.samples * 2 + 44, bytes.size());
      EXPECT_EQ(ReadLe(bytes, 4, 4), bytes.size() - 8);
      EXPECT_EQ(ReadLe(bytes, 40, 4), bytes.size() - 44);
    }
    return bytes;
  }
  TempDir dir;
  testing::TestSystem system{dir.path() / "hoshizora"};
};

// One tone element written out sample by sample from the formula: the
// sine at the sample's time, scaled to 16 bits and cut towards zero.
void AppendTone(std::ostream& out, int length_ms, int frequency) {
  const int n = static_cast<int>(static_cast<std::int64_t>(length_ms) * 44100 / 1000);
  for (int i = 0; i < n; ++i) {
    const double v = std::sin(i * (frequency * 6.283185307179586) / 44100.0) * 32767.0;
    const auto s = static_cast<std::uint16_t>(static_cast<std::int16_t>(static_cast<int>(v)));
    out.put(static_cast<char>(s & 0xFF));
    out.put(static_cast<char>(s >> 8));
  }
}

TEST_F(WavWriterTest, EmptyTextGivesTheBareHeader) {
  for (std::u16string_view code : {u"", u"  \n\t "}) {
    const std::string b = Write(code, 800, 100);
    ASSERT_EQ(b.size(), 44u);
    EXPECT_EQ(b.substr(0, 4), "RIFF");
    EXPECT_EQ(ReadLe(b, 4, 4), 36u);
    EXPECT_EQ(b.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(ReadLe(b, 16, 4), 16u);
    EXPECT_EQ(ReadLe(b, 20, 4), 1u | (1u << 16));  // PCM, one channel
    EXPECT_EQ(ReadLe(b, 24, 4), 44100u);
    EXPECT_EQ(ReadLe(b, 28, 4), 88200u);
    EXPECT_EQ(ReadLe(b, 32, 4), 2u | (16u << 16));  // block align, bits
    EXPECT_EQ(b.substr(36, 4), "data");
    EXPECT_EQ(ReadLe(b, 40, 4), 0u);
  }
}

TEST_F(WavWriterTest, DashDotAtSpeedSixty) {
  const std::string b = Write(u"-. ", 800, 60);
  EXPECT_EQ(b.size(), 120700u);
  EXPECT_EQ(ReadLe(b, 40, 4), 120656u);
  EXPECT_EQ(ReadLe(b, 4, 4), 120692u);
  // dash 22623 tone, gap 7541 zero, dot 7541 tone, 22623 zero.
  EXPECT_EQ(Sample(b, 0), 0);
  EXPECT_NE(Sample(b, 1), 0);
  for (std::size_t i = 22623; i < 22623 + 7541; ++i) {
    ASSERT_EQ(Sample(b, i), 0) << i;
  }
  EXPECT_EQ(Sample(b, 22623 + 7541), 0) << "each element starts at phase 0";
  EXPECT_EQ(Sample(b, 22623 + 7541 + 1), Sample(b, 1));
  for (std::size_t i = 22623 + 2 * 7541; i < 60328; ++i) {
    ASSERT_EQ(Sample(b, i), 0) << i;
  }
}

TEST_F(WavWriterTest, GroupMarkTokenIsKeyedWithItsLongPause) {
  const std::string b = Write(u"？", 800, 60);
  EXPECT_EQ((b.size() - 44) / 2, 356238u);
  // Two fullwidth question marks are not the Group mark: no tone, only gaps.
  const std::string two = Write(u"？？", 800, 60);
  EXPECT_EQ((two.size() - 44) / 2, 7541u + 22623u);
  const std::string letter = Write(u"x", 800, 60);
  EXPECT_EQ((letter.size() - 44) / 2, 22623u);
  EXPECT_EQ(letter.find_first_not_of('\0', 44), std::string::npos);
}

TEST_F(WavWriterTest, FirstSamplesAtEightHundredHertz) {
  const std::string b = Write(u".", 800, 100);
  const std::int16_t expected[] = {0, 3726, 7405, 10987, 14427, 17679};
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(Sample(b, i), expected[i]) << i;
  }
  EXPECT_EQ((b.size() - 44) / 2, 4806u + 14420u);
}

TEST_F(WavWriterTest, AnyRunOfWhiteSpaceIsOneSeparator) {
  EXPECT_EQ(Write(u".  \n\n\t- ", 700, 100), Write(u". -", 700, 100));
}

TEST_F(WavWriterTest, BlockWritingMatchesTheSampleFormula) {
  for (int freq : {800, 0, -440, 2000, 100, 1234}) {
    for (int speed : {20, 60, 100, 200, 11990}) {
      const std::u16string_view code = u"-.- ？ .. -";
      const std::string file = Write(code, freq, speed);
      // The reference: AppendTone for every element, silence as zero bytes.
      std::ostringstream ref;
      const int u = 12000 / (speed + 10);
      auto pause = [&](int ms) {
        ref << std::string(static_cast<std::size_t>(SampleCount(ms)) * 2, '\0');
      };
      auto tone = [&](int ms) { AppendTone(ref, ms, freq); };
      tone(3 * u), pause(u), tone(u), pause(u), tone(3 * u), pause(3 * u);
      const std::string gm = "..--..";
      for (std::size_t j = 0; j < gm.size(); ++j) {
        tone(gm[j] == '.' ? u : 3 * u);
        if (j + 1 < gm.size()) {
          pause(u);
        }
      }
      pause(3 * u), pause(5000);
      tone(u), pause(u), tone(u), pause(3 * u);
      tone(3 * u), pause(3 * u);
      ASSERT_EQ(file.substr(44), ref.str()) << freq << " Hz, " << speed << " CPM";
    }
  }
}

TEST_F(WavWriterTest, NegativeFrequencyInvertsTheSine) {
  const std::string up = Write(u".", 500, 100);
  const std::string down = Write(u".", -500, 100);
  for (std::size_t i = 0; i < 200; ++i) {
    ASSERT_EQ(Sample(down, i), -Sample(up, i)) << i;
  }
}

TEST_F(WavWriterTest, RefusesSpeedsWithoutAPositiveUnit) {
  for (int speed :
       {-10, -11, -100000, 11991, 2147483637, 2147483638, 2147483647, -2147483647 - 1}) {
    Write(u"？ .-", 800, speed, WavStatus::kBadSpeed);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / u"和文電報 x.wav")) << speed;
  }
  EXPECT_EQ((Write(u".", 800, -9).size() - 44) / 2,
            static_cast<std::size_t>(SampleCount(12000) + SampleCount(36000)));
}

TEST(UnitLengthTest, DividesInSixtyFourBitsAcrossTheWholeRange) {
  EXPECT_EQ(UnitLengthMs(60), 171);
  EXPECT_EQ(UnitLengthMs(100), 109);
  EXPECT_EQ(UnitLengthMs(11990), 1);
  EXPECT_EQ(UnitLengthMs(11991), 0);
  EXPECT_EQ(UnitLengthMs(-9), 12000);
  EXPECT_EQ(UnitLengthMs(-10), 0);
  // speed + 10 no longer fits 32 bits from here on; it must not wrap around.
  for (std::int32_t speed : {2147483637, 2147483638, 2147483647}) {
    EXPECT_EQ(UnitLengthMs(speed), 0) << speed;
  }
  EXPECT_EQ(UnitLengthMs(-2147483647 - 1), 0);
}

TEST_F(WavWriterTest, SpeedsAtTheTopOfTheRangeAreRefusedWithoutOverflow) {
  // speed + 10 does not fit 32 bits here; the asan preset stops on the overflow.
  for (int speed : {2147483647 - 9, 2147483647 - 3}) {
    Write(u".-", 800, speed, WavStatus::kBadSpeed);
  }
}

TEST_F(WavWriterTest, ReportsAFolderThatCannotBeWritten) {
  const WavResult r = WriteMorseWav(system, dir.path() / "missing" / "x", u".-", 800, 100);
  EXPECT_EQ(r.status, WavStatus::kCannotCreate);
}

// A disk that fills up part way: every failing write, in the header, the
// samples or the size fields, is a failed WAV, never a written one.
TEST_F(WavWriterTest, WriteFailuresAnywhereAreReported) {
  const std::string whole = Write(u"-.- ？ .. ", 800, 100);
  for (std::uint64_t budget : {std::uint64_t{0}, std::uint64_t{10}, std::uint64_t{44},
                               std::uint64_t{5000}, std::uint64_t{whole.size() - 1}}) {
    system.write_fails_after = budget;
    const WavResult r = WriteMorseWav(system, dir.path() / "x", u"-.- ？ .. ", 800, 100);
    EXPECT_EQ(r.status, WavStatus::kWriteFailed) << budget;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "x.wav")) << "no WAV that lies";
    EXPECT_FALSE(std::filesystem::exists(PartialWavPath(dir.path() / "x")));
  }
  system.write_fails_after = whole.size();
  EXPECT_EQ(WriteMorseWav(system, dir.path() / "x", u"-.- ？ .. ", 800, 100).status,
            WavStatus::kWritten);
}

// Whatever stops the writing half way (a cancel, a signal, a crash), no file
// under the WAV's name ever has a header that claims no data: the WAV is
// written under a hidden name and takes its own only when whole.
TEST_F(WavWriterTest, TheWavTakesItsNameOnlyWhenWhole) {
  std::u16string code;
  for (int i = 0; i < 40; ++i) {  // about four minutes of audio
    code += u"-.-. ？ ..--. ";
  }
  const std::filesystem::path base = dir.path() / "和文電報_T";
  CancelFlag cancel{false};
  int calls = 0;
  const auto progress = [&](double) {
    EXPECT_FALSE(std::filesystem::exists(WithSuffix(base, u".wav")));
    EXPECT_TRUE(std::filesystem::exists(PartialWavPath(base)));
    EXPECT_EQ(PartialWavPath(base).filename(), ".和文電報_T.wav.part");
    cancel = ++calls == 2;
  };
  const WavResult stopped = WriteMorseWav(system, base, code, 800, 200, progress, {}, &cancel);
  EXPECT_EQ(stopped.status, WavStatus::kCancelled);
  EXPECT_EQ(calls, 2);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path())) << "nothing is left";

  cancel = false;
  calls = -100;
  ASSERT_EQ(WriteMorseWav(system, base, code, 800, 200, progress, {}, &cancel).status,
            WavStatus::kWritten);
  EXPECT_FALSE(std::filesystem::exists(PartialWavPath(base)));
  EXPECT_EQ(ReadLe(ReadFileBytes(WithSuffix(base, u".wav")), 40, 4),
            std::filesystem::file_size(WithSuffix(base, u".wav")) - 44);
}

TEST_F(WavWriterTest, RefusesAudioThatOverflowsTheSizeFields) {
  // Twenty minutes of dashes a token at speed -9 is far beyond 4 GiB.
  std::u16string code;
  for (int i = 0; i < 2000; ++i) {
    code += u"------ ";
  }
  Write(code, 800, -9, WavStatus::kTooLong);
}

TEST_F(WavWriterTest, SizeFieldsAgreeOnALongTextAndProgressEnds) {
  std::u16string code;
  for (int i = 0; i < 120; ++i) {  // about twelve minutes of audio
    code += u"-.-. ？ ..--. ";
  }
  double last = -1;
  int calls = 0;
  const WavResult r = WriteMorseWav(system, dir.path() / "long", code, 800, 200, [&](double share) {
    EXPECT_GE(share, last);
    last = share;
    ++calls;
  });
  ASSERT_EQ(r.status, WavStatus::kWritten);
  const std::string b = ReadFileBytes(dir.path() / "long.wav");
  EXPECT_EQ(ReadLe(b, 40, 4), b.size() - 44);
  EXPECT_EQ(ReadLe(b, 4, 4), b.size() - 8);
  EXPECT_GT(calls, 10);
  EXPECT_LE(last, 1.0);
}

}  // namespace
}  // namespace hoshizora

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "audio/sample_telegram.h"
#include "audio/wav_writer.h"
#include "platform/posix/posix_system.h"
#include "support/temp_dir.h"

namespace hoshizora {
namespace {

using testing::ReadWholeFile;
using testing::SampleCodeText;
using testing::TempDir;
using testing::WavSamples;

constexpr double kPi = 3.141592653589793;

// A stretch of tone between silences; `first` and `last` are its outermost
// non-zero samples.
struct Mark {
  std::size_t first = 0;
  std::size_t last = 0;
};

// Marks are told apart by silences of at least this many zero samples; a
// tone crosses zero for a sample or two at most.
constexpr std::size_t kMinSilence = 100;

std::vector<Mark> FindMarks(const std::vector<std::int16_t>& s) {
  std::vector<Mark> marks;
  std::size_t zeros = kMinSilence;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == 0) {
      ++zeros;
      continue;
    }
    if (zeros >= kMinSilence || marks.empty()) {
      marks.push_back({i, i});
    }
    marks.back().last = i;
    zeros = 0;
  }
  return marks;
}

std::vector<std::size_t> MarkLengths(const std::vector<Mark>& marks) {
  std::vector<std::size_t> lengths;
  for (const Mark& m : marks) {
    lengths.push_back(m.last - m.first + 1);
  }
  return lengths;
}

// The silence after every mark, the one that ends the file included.
std::vector<std::size_t> GapsAfterMarks(const std::vector<Mark>& marks, std::size_t samples) {
  std::vector<std::size_t> gaps;
  for (std::size_t k = 0; k < marks.size(); ++k) {
    const std::size_t next = k + 1 < marks.size() ? marks[k + 1].first : samples;
    gaps.push_back(next - marks[k].last - 1);
  }
  return gaps;
}

// In-place radix-2 FFT; the size must be a power of two.
void Fft(std::vector<std::complex<double>>& a) {
  const std::size_t n = a.size();
  for (std::size_t i = 1, j = 0; i < n; ++i) {
    std::size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) {
      j ^= bit;
    }
    j ^= bit;
    if (i < j) {
      std::swap(a[i], a[j]);
    }
  }
  for (std::size_t len = 2; len <= n; len <<= 1) {
    const double angle = -2 * kPi / static_cast<double>(len);
    for (std::size_t i = 0; i < n; i += len) {
      for (std::size_t k = 0; k < len / 2; ++k) {
        const std::complex<double> w = std::polar(1.0, angle * static_cast<double>(k));
        const std::complex<double> u = a[i + k];
        const std::complex<double> v = a[i + k + len / 2] * w;
        a[i + k] = u + v;
        a[i + k + len / 2] = u - v;
      }
    }
  }
}

// Energy of the first `n` samples (Hann window over them) at frequencies more
// than `distance` Hz away from `tone`.
double EnergyAwayFromTone(const std::vector<std::int16_t>& s, std::size_t n, double tone,
                          double distance) {
  std::vector<std::complex<double>> a(n);
  for (std::size_t i = 0; i < n; ++i) {
    const double hann = 0.5 - 0.5 * std::cos(2 * kPi * static_cast<double>(i) / (n - 1.0));
    a[i] = s[i] * hann;
  }
  Fft(a);
  double energy = 0;
  for (std::size_t k = 0; k <= n / 2; ++k) {
    const double hz = static_cast<double>(k) * kSampleRate / static_cast<double>(n);
    if (std::abs(hz - tone) > distance) {
      energy += std::norm(a[k]);
    }
  }
  return energy;
}

class KeyingTest : public ::testing::Test {
 protected:
  std::vector<std::int16_t> Key(std::u16string_view code, int freq, int speed,
                                KeyingOptions keying = {}) {
    const WavResult r = WriteMorseWav(system, dir.path() / "k", code, freq, speed, {}, keying);
    EXPECT_EQ(r.status, WavStatus::kWritten);
    const std::string bytes = ReadWholeFile(dir.path() / "k.wav");
    EXPECT_EQ(r.samples * 2 + 44, bytes.size());
    return WavSamples(bytes);
  }
  TempDir dir;
  PosixSystem system;
  const std::u16string sample = SampleCodeText();
};

TEST_F(KeyingTest, ShapedEdgesCutTheClicksOfTheSampleTelegram) {
  constexpr std::size_t kSegment = std::size_t{1} << 17;  // about three seconds
  for (int freq : {440, 700}) {
    const auto plain = Key(sample, freq, 100);
    const auto shaped = Key(sample, freq, 100, {.rise_ms = 5});
    ASSERT_GE(plain.size(), kSegment);
    const double drop_db = 10 * std::log10(EnergyAwayFromTone(plain, kSegment, freq, 500) /
                                           EnergyAwayFromTone(shaped, kSegment, freq, 500));
    EXPECT_GE(drop_db, 30) << freq << " Hz";
    RecordProperty("drop_db_" + std::to_string(freq), std::to_string(drop_db));
  }
}

TEST_F(KeyingTest, ShapedElementsKeepTheirPlaceAndFadeToZeroAtBothEnds) {
  for (int rise : {5, 20}) {
    const auto plain = Key(sample, 700, 100);
    const auto shaped = Key(sample, 700, 100, {.rise_ms = rise});
    ASSERT_EQ(shaped.size(), plain.size());
    const std::vector<Mark> marks = FindMarks(plain);
    ASSERT_GT(marks.size(), 500u);
    const auto ramp = static_cast<std::size_t>(SampleCount(rise));
    for (const Mark& m : marks) {
      // The plain element starts with its phase-0 sample 0, just before `first`.
      const std::size_t start = m.first - 1;
      EXPECT_EQ(shaped[start], 0) << start;
      EXPECT_LE(std::abs(shaped[m.first]), 4) << m.first;
      EXPECT_LE(std::abs(shaped[m.last]), 4) << m.last;
      EXPECT_LE(std::abs(shaped[m.last + 1]), 4) << m.last;
      for (std::size_t i = start + ramp; i + ramp <= m.last; ++i) {
        ASSERT_EQ(shaped[i], plain[i]) << "full amplitude between the ramps at " << i;
      }
    }
    for (std::size_t i = 0; i < plain.size(); ++i) {
      ASSERT_LE(std::abs(shaped[i]), std::abs(plain[i]))
          << "louder than plain, or sound in silence at " << i;
    }
  }
}

TEST_F(KeyingTest, RampsOfAShortElementMeetInItsMiddle) {
  // At 1000 CPM a dot lasts 11 ms (485 samples), shorter than two 20 ms ramps.
  const auto s = Key(u".", 1000, 1000, {.rise_ms = 20});
  const std::size_t dot = static_cast<std::size_t>(SampleCount(11));
  ASSERT_EQ(s.size(), dot + static_cast<std::size_t>(SampleCount(33)));
  EXPECT_EQ(s[0], 0);
  EXPECT_EQ(s[dot - 1], 0);
  int peak = 0;
  for (std::size_t i = 0; i < dot; ++i) {
    peak = std::max(peak, std::abs(static_cast<int>(s[i])));
  }
  EXPECT_GT(peak, 30000) << "the element reaches full amplitude in its middle";
  // Both ramps rise and fall smoothly: no jump near the middle.
  for (std::size_t i = 1; i < dot; ++i) {
    ASSERT_LE(std::abs(s[i] - s[i - 1]), 1.1 * 2 * kPi * 1000 / kSampleRate * 32767) << i;
  }
}

TEST_F(KeyingTest, FarnsworthStretchesOnlyTheGapsBetweenTokens) {
  const auto keyed = Key(sample, 700, 100);
  const auto slow = Key(sample, 700, 50);
  const auto farnsworth = Key(sample, 700, 100, {.effective_cpm = 50});

  const std::vector<Mark> keyed_marks = FindMarks(keyed);
  const std::vector<Mark> farnsworth_marks = FindMarks(farnsworth);
  EXPECT_EQ(MarkLengths(farnsworth_marks), MarkLengths(keyed_marks))
      << "every dot and dash as at the keying speed";

  // The rule: the gaps after tokens (3 units, or 3 units and the 5 s after a
  // Group mark) all grow by f = 1 + (T(50) - T(100)) / G, G being the 3-unit
  // gaps of the plain run at 100; the 1-unit gaps inside a token stay.
  const std::vector<std::size_t> keyed_gaps = GapsAfterMarks(keyed_marks, keyed.size());
  const std::vector<std::size_t> farnsworth_gaps =
      GapsAfterMarks(farnsworth_marks, farnsworth.size());
  ASSERT_EQ(farnsworth_gaps.size(), keyed_gaps.size());
  const std::size_t unit = static_cast<std::size_t>(SampleCount(109));
  const std::size_t token_gap = static_cast<std::size_t>(SampleCount(327));
  std::size_t token_gaps = 0;
  for (std::size_t gap : keyed_gaps) {
    token_gaps += gap >= 2 * unit ? 1 : 0;
  }
  ASSERT_GT(token_gaps, 100u);
  const double factor = 1 + static_cast<double>(slow.size() - keyed.size()) /
                                static_cast<double>(token_gaps * token_gap);
  EXPECT_GT(factor, 2.0);
  const double growth = (factor - 1) * static_cast<double>(token_gap);
  for (std::size_t k = 0; k < keyed_gaps.size(); ++k) {
    if (keyed_gaps[k] < 2 * unit) {
      ASSERT_EQ(farnsworth_gaps[k], keyed_gaps[k]) << "gap inside a token, mark " << k;
    } else {
      ASSERT_NEAR(static_cast<double>(farnsworth_gaps[k]) - static_cast<double>(keyed_gaps[k]),
                  growth, 1.0)
          << "gap after a token, mark " << k;
    }
  }

  EXPECT_NEAR(static_cast<double>(farnsworth.size()), static_cast<double>(slow.size()),
              0.01 * static_cast<double>(slow.size()));
}

TEST_F(KeyingTest, FarnsworthKeepsTheShapedElements) {
  const auto shaped = Key(sample, 700, 100, {.rise_ms = 5});
  const auto both = Key(sample, 700, 100, {.rise_ms = 5, .effective_cpm = 50});
  EXPECT_EQ(MarkLengths(FindMarks(both)), MarkLengths(FindMarks(shaped)));
  EXPECT_GT(both.size(), shaped.size());
}

TEST_F(KeyingTest, OptionsOutsideTheirRangesKeyPlainly) {
  const std::u16string code = u"-.-. ？ ..--. ";
  const auto plain = Key(code, 700, 100);
  for (KeyingOptions off : {KeyingOptions{.rise_ms = -5}, KeyingOptions{.rise_ms = 21},
                            KeyingOptions{.effective_cpm = 19}, KeyingOptions{.effective_cpm = 100},
                            KeyingOptions{.effective_cpm = 150}}) {
    EXPECT_EQ(Key(code, 700, 100, off), plain) << off.rise_ms << " ms, " << off.effective_cpm;
  }
  EXPECT_NE(Key(code, 700, 100, {.rise_ms = 1}), plain);
  EXPECT_NE(Key(code, 700, 100, {.effective_cpm = 99}), plain);
}

}  // namespace
}  // namespace hoshizora

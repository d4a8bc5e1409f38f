#include "decode/element_timing.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace hoshizora {
namespace {

constexpr std::size_t kMarkNeighbours = 12;
constexpr std::size_t kGapNeighbours = 24;
constexpr double kLeastDahRatio = 1.7;
constexpr double kLeastCharGapRatio = 1.6;
constexpr double kGroupPauseUnits = 12;

double Median(std::vector<double>& v) {
  if (v.empty()) {
    return 0;
  }
  const auto middle = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
  std::nth_element(v.begin(), middle, v.end());
  return *middle;
}

template <typename T>
std::vector<double> Around(const std::vector<T>& all, std::size_t i, std::size_t neighbours) {
  const std::size_t from = i > neighbours ? i - neighbours : 0;
  const std::size_t to = std::min(all.size(), i + neighbours + 1);
  return std::vector<double>(all.begin() + static_cast<std::ptrdiff_t>(from),
                             all.begin() + static_cast<std::ptrdiff_t>(to));
}

struct MarkScale {
  double dit = 0;
  double dah = 0;
};

// The dit and dah lengths around each mark. Where the marks nearby are all of
// one kind, the last scale read holds (the first one comes from all marks).
std::vector<MarkScale> MarkScales(const std::vector<double>& marks,
                                  const std::vector<double>& gaps) {
  MarkScale global;
  const TwoGroups all = SplitInTwo(marks, kLeastDahRatio);
  if (all.separated) {
    global = {all.low, all.high};
  } else {
    // One kind of mark only: dits when about as long as the shortest gaps.
    std::vector<double> sorted_gaps = gaps;
    std::sort(sorted_gaps.begin(), sorted_gaps.end());
    const double shortest_gap = sorted_gaps.empty() ? all.low : sorted_gaps[sorted_gaps.size() / 4];
    const double mark = all.low;
    if (sorted_gaps.empty() || mark < 2 * shortest_gap) {
      global = {mark, 3 * mark};
    } else {
      global = {mark / 3, mark};
    }
  }
  std::vector<MarkScale> scales(marks.size());
  MarkScale current = global;
  for (std::size_t i = 0; i < marks.size(); ++i) {
    const TwoGroups local = SplitInTwo(Around(marks, i, kMarkNeighbours), kLeastDahRatio);
    if (local.separated) {
      current = {local.low, local.high};
    }
    scales[i] = current;
  }
  return scales;
}

struct GapScale {
  double element = 0;
  double character = 0;
};

// The element and character gaps around gap i, in dits: each gap is measured
// against the dit of the marks around it, so a change of speed does not mix
// one speed's element gaps with another's character gaps. A light fist or
// soft edges shorten every mark by the same w and lengthen every gap by it: a
// dit is u - w, a dah 3u - w, so an element gap u + w is a dah less two dits
// and a character gap 3u + w two dahs less three dits. A short dah (a hand's
// 2.6) would read as a heavy fist that way, so the even spacing of 1 and 3
// dits is the least either gap is taken to be.
GapScale GapScaleAround(const std::vector<double>& gaps_in_dits, std::size_t i,
                        double dah_in_dits) {
  const double element = std::max(1.0, dah_in_dits - 2);
  const double character = std::max(3.0, 2 * dah_in_dits - 3);
  const std::vector<double> near = Around(gaps_in_dits, i, kGapNeighbours);
  // Pauses far beyond a word gap say nothing of the sender's spacing.
  std::vector<double> spacing;
  for (double g : near) {
    if (g < 40) {
      spacing.push_back(g);
    }
  }
  const TwoGroups two = SplitInTwo(spacing, kLeastCharGapRatio);
  if (!two.separated) {
    return {element, character};
  }
  if (two.low > std::max(1.6, std::sqrt(element * character))) {
    // The shorter group is nearer a character gap: only character gaps and
    // longer around here.
    return {element, two.low};
  }
  return {two.low, two.high};
}

}  // namespace

std::u16string SentCharacter::Code() const {
  std::u16string code;
  for (const SentElement& e : elements) {
    code.push_back(e.dah ? u'-' : u'.');
  }
  return code;
}

TwoGroups SplitInTwo(std::vector<double> values, double least_ratio) {
  TwoGroups groups;
  if (values.empty()) {
    return groups;
  }
  std::sort(values.begin(), values.end());
  // Starting from the 5th and 95th percentiles, a rare outlier (a long pause
  // among gaps) cannot claim a group of its own.
  groups.low = values[values.size() / 20];
  groups.high = values[values.size() - 1 - values.size() / 20];
  std::vector<double> low_side;
  std::vector<double> high_side;
  for (int round = 0; round < 12; ++round) {
    const double boundary = std::sqrt(groups.low * groups.high);
    low_side.clear();
    high_side.clear();
    for (double v : values) {
      (v < boundary ? low_side : high_side).push_back(v);
    }
    if (low_side.empty() || high_side.empty()) {
      groups.low = groups.high = Median(values);
      return groups;
    }
    const double low = Median(low_side);
    const double high = Median(high_side);
    if (low == groups.low && high == groups.high) {
      break;
    }
    groups.low = low;
    groups.high = high;
  }
  groups.separated = groups.high >= least_ratio * groups.low;
  if (!groups.separated) {
    groups.low = groups.high = Median(values);
  }
  return groups;
}

std::vector<SentCharacter> ReadCharacters(const std::vector<KeyRun>& runs) {
  std::vector<double> marks;
  std::vector<double> gaps;
  std::vector<double> starts;
  for (const KeyRun& r : runs) {
    if (r.on) {
      marks.push_back(r.Length());
      starts.push_back(r.start_s);
    } else if (!marks.empty()) {
      gaps.push_back(r.Length());
    }
  }
  gaps.resize(marks.empty() ? 0 : marks.size() - 1);
  std::vector<SentCharacter> characters;
  if (marks.empty()) {
    return characters;
  }
  const std::vector<MarkScale> scales = MarkScales(marks, gaps);
  std::vector<double> gaps_in_dits(gaps.size());
  for (std::size_t i = 0; i < gaps.size(); ++i) {
    gaps_in_dits[i] = gaps[i] / ((scales[i].dit + scales[i + 1].dit) / 2);
  }
  SentCharacter current;
  for (std::size_t i = 0; i < marks.size(); ++i) {
    const MarkScale& s = scales[i];
    current.elements.push_back({starts[i], marks[i], marks[i] > (s.dit + s.dah) / 2});
    if (current.elements.size() == 1) {
      current.dit_s = s.dit;
      current.dah_s = s.dah;
    }
    if (i + 1 == marks.size()) {
      break;
    }
    GapScale g = GapScaleAround(gaps_in_dits, i, s.dah / s.dit);
    g.element *= s.dit;
    g.character *= s.dit;
    const double gap = gaps[i];
    if (gap < (g.element + g.character) / 2) {
      current.inner_gaps_s.push_back(gap);
      continue;
    }
    const double unit = (s.dit + g.element) / 2;
    current.gap_after_s = gap;
    current.element_gap_s = g.element;
    current.char_gap_s = g.character;
    current.word_after = gap >= std::max(5.0 / 3.0 * g.character, 4.5 * unit);
    current.long_pause_after = gap > std::max(kGroupPauseUnits * unit, 2 * g.character);
    characters.push_back(std::move(current));
    current = SentCharacter{};
  }
  if (current.element_gap_s == 0) {
    const GapScale g =
        GapScaleAround(gaps_in_dits, gaps_in_dits.empty() ? 0 : gaps_in_dits.size() - 1,
                       scales.back().dah / scales.back().dit);
    current.element_gap_s = g.element * scales.back().dit;
    current.char_gap_s = g.character * scales.back().dit;
  }
  characters.push_back(std::move(current));
  return characters;
}

}  // namespace hoshizora

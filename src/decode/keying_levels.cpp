#include "decode/keying_levels.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace hoshizora {
namespace {

constexpr double kStretchSeconds = 6;
constexpr double kStepSeconds = 1;
constexpr double kLeastSeparation = 0.75;
constexpr double kLeastContrast = 3;
constexpr double kStartShare = 0.6;
constexpr double kEndShare = 0.4;

struct Levels {
  bool keyed = false;
  double off = 0;
  double on = 0;
};

}  // namespace

LevelSplit SplitLevels(const std::vector<double>& values, std::size_t from, std::size_t to) {
  LevelSplit split;
  if (to <= from) {
    return split;
  }
  double top = 0;
  for (std::size_t i = from; i < to; ++i) {
    top = std::max(top, values[i]);
  }
  if (top <= 0) {
    return split;
  }
  constexpr std::size_t kBins = 128;
  std::array<double, kBins> count{};
  std::array<double, kBins> sum{};
  for (std::size_t i = from; i < to; ++i) {
    auto bin = static_cast<std::size_t>(values[i] / top * (kBins - 1));
    bin = std::min(bin, kBins - 1);
    count[bin] += 1;
    sum[bin] += values[i];
  }
  const auto n = static_cast<double>(to - from);
  double total_sum = 0;
  for (double s : sum) {
    total_sum += s;
  }
  const double mean = total_sum / n;
  double variance = 0;
  for (std::size_t i = from; i < to; ++i) {
    variance += (values[i] - mean) * (values[i] - mean);
  }
  variance /= n;
  double n0 = 0;
  double s0 = 0;
  double best = -1;
  for (std::size_t b = 0; b + 1 < kBins; ++b) {
    n0 += count[b];
    s0 += sum[b];
    const double n1 = n - n0;
    if (n0 == 0 || n1 == 0) {
      continue;
    }
    const double m0 = s0 / n0;
    const double m1 = (total_sum - s0) / n1;
    const double between = n0 * n1 / (n * n) * (m1 - m0) * (m1 - m0);
    if (between > best) {
      best = between;
      split.low = m0;
      split.high = m1;
      split.separation = variance > 0 ? between / variance : 0;
    }
  }
  return split;
}

KeyingRuns FindKeyRuns(const std::vector<double>& envelope, double block_s) {
  KeyingRuns result;
  if (envelope.empty() || block_s <= 0) {
    return result;
  }
  const std::size_t count = envelope.size();
  const auto stretch =
      std::max<std::size_t>(1, static_cast<std::size_t>(kStretchSeconds / block_s));
  const auto step = std::max<std::size_t>(1, static_cast<std::size_t>(kStepSeconds / block_s));
  // Levels per step, measured over the stretch centred on it.
  const std::size_t steps = (count + step - 1) / step;
  std::vector<Levels> levels(steps);
  double loudest_on = 0;
  for (std::size_t s = 0; s < steps; ++s) {
    const std::size_t centre = s * step + step / 2;
    const std::size_t from = centre > stretch / 2 ? centre - stretch / 2 : 0;
    const std::size_t to = std::min(count, from + stretch);
    const LevelSplit split = SplitLevels(envelope, from, to);
    levels[s] = {split.separation >= kLeastSeparation && split.high >= kLeastContrast * split.low,
                 split.low, split.high};
    if (levels[s].keyed) {
      loudest_on = std::max(loudest_on, split.high);
    }
  }
  // A stretch far quieter than the keying elsewhere is noise that happens to
  // split into two levels.
  for (Levels& l : levels) {
    l.keyed = l.keyed && l.on >= 0.1 * loudest_on;
    result.keyed_stretches += l.keyed ? 1 : 0;
  }
  if (result.keyed_stretches == 0) {
    return result;
  }
  // Unkeyed stretches take the levels of the nearest keyed one.
  std::vector<Levels> filled = levels;
  for (std::size_t s = 0; s < steps; ++s) {
    if (levels[s].keyed) {
      continue;
    }
    for (std::size_t d = 1; d < steps; ++d) {
      if (s >= d && levels[s - d].keyed) {
        filled[s] = levels[s - d];
        break;
      }
      if (s + d < steps && levels[s + d].keyed) {
        filled[s] = levels[s + d];
        break;
      }
    }
  }
  bool on = false;
  double start = 0;
  double previous = 0;
  for (std::size_t k = 0; k < count; ++k) {
    const Levels& l = filled[k / step];
    const double rise = l.off + kStartShare * (l.on - l.off);
    const double fall = l.off + kEndShare * (l.on - l.off);
    const double v = envelope[k];
    const double threshold = on ? fall : rise;
    const bool crossed = on ? v < threshold : v > threshold;
    if (crossed) {
      // Where the line between the two blocks crosses the threshold.
      double at = static_cast<double>(k);
      if (k > 0 && v != previous) {
        at = static_cast<double>(k - 1) + (threshold - previous) / (v - previous);
      }
      const double at_s = (at + 0.5) * block_s;
      if (on) {
        result.runs.push_back({true, start, at_s});
      } else if (!result.runs.empty()) {
        result.runs.push_back({false, result.runs.back().end_s, at_s});
      }
      start = at_s;
      on = !on;
    }
    previous = v;
  }
  if (on) {
    result.runs.push_back({true, start, (static_cast<double>(count) + 0.5) * block_s});
  }
  return result;
}

std::vector<KeyRun> RemoveGlitches(const std::vector<KeyRun>& runs, double shortest_s) {
  std::vector<KeyRun> kept;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const KeyRun& r = runs[i];
    const bool inner = !kept.empty() && i + 1 < runs.size();
    if (inner && r.Length() < shortest_s) {
      // The run and the next one join the previous run, which has the state
      // the flipped run takes.
      kept.back().end_s = runs[i + 1].end_s;
      ++i;
      continue;
    }
    if (!kept.empty() && kept.back().on == r.on) {
      kept.back().end_s = r.end_s;
    } else {
      kept.push_back(r);
    }
  }
  // A short mark at either end is a click, not keying.
  while (!kept.empty() && kept.front().on && kept.front().Length() < shortest_s) {
    kept.erase(kept.begin());
    if (!kept.empty()) {
      kept.erase(kept.begin());
    }
  }
  while (!kept.empty() && kept.back().on && kept.back().Length() < shortest_s) {
    kept.pop_back();
    if (!kept.empty()) {
      kept.pop_back();
    }
  }
  return kept;
}

}  // namespace hoshizora

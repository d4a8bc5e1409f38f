#include "decode/tone_search.h"

#include <algorithm>
#include <cstddef>

#include "decode/spectrum.h"

namespace hoshizora {
namespace {

constexpr std::size_t kMostGlobalFrames = 64;
constexpr double kStretchSeconds = 8;
constexpr std::size_t kFramesPerStretch = 4;
constexpr double kDriftBandHz = 40;
// A tone must stand this far above the median of the band: white noise
// averaged over a few dozen spectra peaks well under it.
constexpr double kLeastProminence = 6;

// Resolution of about 8 Hz or finer.
std::size_t FrameLength(std::int32_t rate) {
  std::size_t n = 256;
  while (static_cast<double>(rate) / static_cast<double>(n) > 8.0) {
    n <<= 1;
  }
  return n;
}

// The average spectrum of up to `most` frames spread evenly over [from, to).
std::vector<double> AverageSpectrum(const AudioClip& clip, std::size_t from, std::size_t to,
                                    const std::vector<double>& window, std::size_t most) {
  const std::size_t n = window.size();
  std::vector<double> sum(n / 2 + 1, 0.0);
  if (to < from + n) {
    return sum;
  }
  const std::size_t whole = (to - from) / n;
  const std::size_t count = std::min(whole, most);
  for (std::size_t k = 0; k < count; ++k) {
    const std::size_t frame = count == 1 ? 0 : k * (whole - 1) / (count - 1);
    const std::vector<double> p = PowerSpectrum(clip.samples, from + frame * n, window);
    for (std::size_t i = 0; i < sum.size(); ++i) {
      sum[i] += p[i];
    }
  }
  return sum;
}

// The average spectrum of the `most` loudest whole frames in [from, to), and
// how many there were: a stretch's tone is read where the key is down, not
// from the clicks at the edges of a mark.
std::vector<double> LoudestSpectrum(const AudioClip& clip, std::size_t from, std::size_t to,
                                    const std::vector<double>& window, std::size_t most,
                                    std::size_t& used) {
  const std::size_t n = window.size();
  std::vector<std::pair<double, std::size_t>> frames;
  for (std::size_t at = from; at + n <= to; at += n) {
    double energy = 0;
    for (std::size_t i = at; i < at + n; ++i) {
      energy += static_cast<double>(clip.samples[i]) * clip.samples[i];
    }
    frames.emplace_back(-energy, at);
  }
  std::sort(frames.begin(), frames.end());
  used = std::min(most, frames.size());
  std::vector<double> sum(n / 2 + 1, 0.0);
  for (std::size_t k = 0; k < used; ++k) {
    const std::vector<double> p = PowerSpectrum(clip.samples, frames[k].second, window);
    for (std::size_t i = 0; i < sum.size(); ++i) {
      sum[i] += p[i];
    }
  }
  return sum;
}

struct Peak {
  double hz = 0;
  double power = 0;
};

// The strongest bin in [low, high] Hz, refined by a parabola through it and
// its neighbours.
Peak FindPeak(const std::vector<double>& power, double bin_hz, double low, double high) {
  const auto first = static_cast<std::size_t>(std::max(1.0, low / bin_hz));
  const auto last = std::min(power.size() - 2, static_cast<std::size_t>(high / bin_hz) + 1);
  std::size_t best = first;
  for (std::size_t i = first; i <= last; ++i) {
    if (power[i] > power[best]) {
      best = i;
    }
  }
  const double a = power[best - 1];
  const double b = power[best];
  const double c = power[best + 1];
  const double denominator = a - 2 * b + c;
  double offset = denominator < 0 ? 0.5 * (a - c) / denominator : 0.0;
  offset = std::clamp(offset, -0.5, 0.5);
  return {(static_cast<double>(best) + offset) * bin_hz, b};
}

double BandMedian(const std::vector<double>& power, double bin_hz) {
  const auto first = static_cast<std::size_t>(kLowestToneHz / bin_hz);
  const auto last = std::min(power.size() - 1, static_cast<std::size_t>(kHighestToneHz / bin_hz));
  std::vector<double> band(power.begin() + static_cast<std::ptrdiff_t>(first),
                           power.begin() + static_cast<std::ptrdiff_t>(last) + 1);
  auto middle = band.begin() + static_cast<std::ptrdiff_t>(band.size() / 2);
  std::nth_element(band.begin(), middle, band.end());
  return *middle;
}

}  // namespace

ToneSearch FindTone(const AudioClip& clip) {
  ToneSearch tone;
  if (clip.rate <= 0) {
    return tone;
  }
  const std::size_t n = FrameLength(clip.rate);
  const std::size_t total = clip.samples.size();
  if (total < n) {
    return tone;
  }
  const double bin_hz = static_cast<double>(clip.rate) / static_cast<double>(n);
  const std::vector<double> window = HannWindow(n);
  const std::vector<double> power = AverageSpectrum(clip, 0, total, window, kMostGlobalFrames);
  const double floor = BandMedian(power, bin_hz);
  const Peak peak = FindPeak(power, bin_hz, kLowestToneHz, kHighestToneHz);
  tone.hz = peak.hz;
  tone.prominence = floor > 0 ? peak.power / floor : (peak.power > 0 ? 1e9 : 0);
  tone.found = tone.prominence >= kLeastProminence;
  if (!tone.found) {
    return tone;
  }
  // Each stretch's own peak near the tone, kept where it stands out as well
  // and is about as strong as the tone is over the whole recording; a
  // stretch without keying keeps its neighbours' tone.
  const std::size_t global_frames =
      std::min(total / n, kMostGlobalFrames);  // how many the average above summed
  const double frame_power =
      peak.power / static_cast<double>(std::max<std::size_t>(1, global_frames));
  const auto stretch = static_cast<std::size_t>(kStretchSeconds * clip.rate);
  for (std::size_t from = 0; from < total; from += stretch) {
    const std::size_t to = std::min(total, from + stretch);
    std::size_t used = 0;
    const std::vector<double> local =
        LoudestSpectrum(clip, from, to, window, kFramesPerStretch, used);
    if (used == 0) {
      continue;
    }
    const Peak near = FindPeak(local, bin_hz, tone.hz - kDriftBandHz, tone.hz + kDriftBandHz);
    const double local_floor = BandMedian(local, bin_hz);
    if (near.power >= kLeastProminence * 2 * local_floor &&
        near.power >= 0.25 * frame_power * static_cast<double>(used)) {
      tone.track.push_back({(static_cast<double>(from + to) / 2) / clip.rate, near.hz});
    }
  }
  if (tone.track.empty()) {
    tone.track.push_back({0, tone.hz});
  }
  return tone;
}

double ToneAt(const ToneSearch& tone, double at_s) {
  const auto& t = tone.track;
  if (t.empty()) {
    return tone.hz;
  }
  if (at_s <= t.front().at_s) {
    return t.front().hz;
  }
  if (at_s >= t.back().at_s) {
    return t.back().hz;
  }
  const auto next = std::upper_bound(t.begin(), t.end(), at_s,
                                     [](double s, const TonePoint& p) { return s < p.at_s; });
  const TonePoint& b = *next;
  const TonePoint& a = *(next - 1);
  return a.hz + (b.hz - a.hz) * (at_s - a.at_s) / (b.at_s - a.at_s);
}

}  // namespace hoshizora

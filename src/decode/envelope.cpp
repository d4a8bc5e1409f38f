#include "decode/envelope.h"

#include <algorithm>
#include <cmath>

#include "decode/exact_math.h"

namespace hoshizora {

ToneBlocks MixToTone(const AudioClip& clip, const ToneSearch& tone) {
  ToneBlocks blocks;
  if (clip.rate <= 0) {
    return blocks;
  }
  const std::size_t size =
      std::max<std::size_t>(1, (static_cast<std::size_t>(clip.rate) + 500) / 1000);
  blocks.block_s = static_cast<double>(size) / clip.rate;
  const std::size_t count = clip.samples.size() / size;
  blocks.re.resize(count);
  blocks.im.resize(count);
  double phase = 0;
  const float* x = clip.samples.data();
  for (std::size_t k = 0; k < count; ++k) {
    const double hz = ToneAt(tone, (static_cast<double>(k) + 0.5) * blocks.block_s);
    const double w = 2 * kPi * hz / clip.rate;
    const SinCos start = ExactSinCos(phase);
    const SinCos step = ExactSinCos(w);
    // e^{-j(phase + w i)}, advanced by multiplication within the block.
    double pr = start.cos;
    double pi = -start.sin;
    double sr = 0;
    double si = 0;
    for (std::size_t i = 0; i < size; ++i) {
      const double v = x[i];
      sr += v * pr;
      si += v * pi;
      const double next = pr * step.cos + pi * step.sin;
      pi = pi * step.cos - pr * step.sin;
      pr = next;
    }
    blocks.re[k] = sr;
    blocks.im[k] = si;
    x += size;
    phase += w * static_cast<double>(size);
    if (phase > 2 * kPi) {
      phase -= 2 * kPi * static_cast<double>(static_cast<long long>(phase / (2 * kPi)));
    }
  }
  return blocks;
}

std::vector<double> SmoothEnvelope(const ToneBlocks& blocks, std::int32_t window) {
  const std::size_t count = blocks.re.size();
  std::vector<double> envelope(count, 0.0);
  if (count == 0 || window < 1) {
    return envelope;
  }
  const auto w = static_cast<std::size_t>(window);
  std::vector<double> cre(count + 1, 0.0);
  std::vector<double> cim(count + 1, 0.0);
  for (std::size_t k = 0; k < count; ++k) {
    cre[k + 1] = cre[k] + blocks.re[k];
    cim[k + 1] = cim[k] + blocks.im[k];
  }
  const std::size_t before = (w - 1) / 2;
  for (std::size_t k = 0; k < count; ++k) {
    const std::size_t from = k >= before ? k - before : 0;
    const std::size_t to = std::min(count, from + w);
    const double re = cre[to] - cre[from];
    const double im = cim[to] - cim[from];
    envelope[k] = std::sqrt(re * re + im * im) / static_cast<double>(to - from);
  }
  return envelope;
}

std::int32_t WindowForDit(const ToneBlocks& blocks, double dit_s, double fraction) {
  if (blocks.block_s <= 0) {
    return 1;
  }
  const double n = dit_s * fraction / blocks.block_s;
  // Odd, so that each value is centred on its own block.
  return std::max<std::int32_t>(1, static_cast<std::int32_t>(n / 2)) * 2 + 1;
}

}  // namespace hoshizora

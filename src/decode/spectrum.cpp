#include "decode/spectrum.h"

#include <utility>

#include "decode/exact_math.h"

namespace hoshizora {
namespace {

// In-place iterative radix-2 FFT.
void Fft(std::vector<double>& re, std::vector<double>& im) {
  const std::size_t n = re.size();
  for (std::size_t i = 1, j = 0; i < n; ++i) {
    std::size_t bit = n >> 1;
    for (; (j & bit) != 0; bit >>= 1) {
      j ^= bit;
    }
    j ^= bit;
    if (i < j) {
      std::swap(re[i], re[j]);
      std::swap(im[i], im[j]);
    }
  }
  for (std::size_t len = 2; len <= n; len <<= 1) {
    const SinCos step = ExactSinCos(-2 * kPi / static_cast<double>(len));
    for (std::size_t i = 0; i < n; i += len) {
      double wr = 1;
      double wi = 0;
      for (std::size_t k = 0; k < len / 2; ++k) {
        const std::size_t a = i + k;
        const std::size_t b = a + len / 2;
        const double tr = re[b] * wr - im[b] * wi;
        const double ti = re[b] * wi + im[b] * wr;
        re[b] = re[a] - tr;
        im[b] = im[a] - ti;
        re[a] += tr;
        im[a] += ti;
        const double next = wr * step.cos - wi * step.sin;
        wi = wr * step.sin + wi * step.cos;
        wr = next;
      }
    }
  }
}

}  // namespace

std::vector<double> HannWindow(std::size_t n) {
  std::vector<double> window(n);
  for (std::size_t i = 0; i < n; ++i) {
    window[i] =
        0.5 - 0.5 * ExactSinCos(2 * kPi * static_cast<double>(i) / static_cast<double>(n)).cos;
  }
  return window;
}

std::vector<double> PowerSpectrum(const std::vector<float>& samples, std::size_t at,
                                  const std::vector<double>& window) {
  const std::size_t n = window.size();
  std::vector<double> re(n);
  std::vector<double> im(n, 0.0);
  for (std::size_t i = 0; i < n; ++i) {
    re[i] = samples[at + i] * window[i];
  }
  Fft(re, im);
  std::vector<double> power(n / 2 + 1);
  for (std::size_t k = 0; k < power.size(); ++k) {
    power[k] = re[k] * re[k] + im[k] * im[k];
  }
  return power;
}

}  // namespace hoshizora

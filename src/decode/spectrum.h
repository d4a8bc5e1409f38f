#pragma once

#include <cstddef>
#include <vector>

namespace hoshizora {

// A Hann window of `n` points.
std::vector<double> HannWindow(std::size_t n);

// The power spectrum (bins 0 to n/2) of window.size() samples from `samples`
// starting at `at`, through the window; the size is a power of two and the
// samples are all there.
std::vector<double> PowerSpectrum(const std::vector<float>& samples, std::size_t at,
                                  const std::vector<double>& window);

}  // namespace hoshizora

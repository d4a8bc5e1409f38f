#pragma once

#include <cstddef>
#include <vector>

namespace hoshizora {

// The power spectrum (bins 0 to n/2) of `n` samples from `samples` starting at
// `at`, Hann-windowed; `n` is a power of two and the samples are all there.
std::vector<double> PowerSpectrum(const std::vector<float>& samples, std::size_t at, std::size_t n);

}  // namespace hoshizora

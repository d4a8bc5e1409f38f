#pragma once

#include <cstdint>

namespace hoshizora {

// SplitMix64 with a bounded draw of our own. The algorithm is fixed, so one
// seed gives the same numbers with every compiler and standard library, which
// the standard distributions do not promise.
class PracticeRandom {
 public:
  explicit PracticeRandom(std::uint64_t seed) : state_(seed) {}

  std::uint64_t Next();

  // Uniform in [0, bound); bound 0 gives 0. Draws below 2^64 mod bound are
  // rejected so that no value is favoured.
  std::uint64_t Below(std::uint64_t bound);

  // Uniform in [low, high]; low when high < low.
  std::int32_t Between(std::int32_t low, std::int32_t high);

  // True about once in `n` draws.
  bool OneIn(std::uint64_t n) { return Below(n) == 0; }

 private:
  std::uint64_t state_;
};

}  // namespace hoshizora

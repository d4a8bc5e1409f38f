#include "practice/practice_random.h"

#include "base/split_mix.h"

namespace hoshizora {

std::uint64_t PracticeRandom::Next() {
  return SplitMix64Next(state_);
}

std::uint64_t PracticeRandom::Below(std::uint64_t bound) {
  if (bound == 0) {
    return 0;
  }
  const std::uint64_t threshold = (0 - bound) % bound;
  for (;;) {
    const std::uint64_t r = Next();
    if (r >= threshold) {
      return r % bound;
    }
  }
}

std::int32_t PracticeRandom::Between(std::int32_t low, std::int32_t high) {
  if (high <= low) {
    return low;
  }
  const auto span = static_cast<std::uint64_t>(static_cast<std::int64_t>(high) - low + 1);
  return static_cast<std::int32_t>(low + static_cast<std::int64_t>(Below(span)));
}

}  // namespace hoshizora

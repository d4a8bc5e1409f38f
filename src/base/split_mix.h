#pragma once

#include <cstdint>

namespace hoshizora {

// SplitMix64's finaliser: neighbouring inputs give unrelated outputs.
constexpr std::uint64_t SplitMix64Mix(std::uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
  return z ^ (z >> 31);
}

// The next number of the SplitMix64 sequence that `state` stands at. The
// algorithm is fixed, so one seed gives the same numbers everywhere.
constexpr std::uint64_t SplitMix64Next(std::uint64_t& state) {
  return SplitMix64Mix(state += 0x9E3779B97F4A7C15u);
}

}  // namespace hoshizora

#include "app/fresh_seed.h"

#include <chrono>
#include <random>

namespace hoshizora {
namespace {

// SplitMix64's finaliser: nearby clock readings give unrelated seeds.
std::uint64_t Mix(std::uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
  return z ^ (z >> 31);
}

std::uint64_t FromDevice() {
  try {
    std::random_device device;
    return (static_cast<std::uint64_t>(device()) << 32) ^ device();
  } catch (...) {
    return 0;  // no device: the clock alone
  }
}

}  // namespace

std::uint64_t FreshSeed() {
  const auto ticks =
      static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count() ^
                                 std::chrono::steady_clock::now().time_since_epoch().count());
  return Mix(FromDevice() ^ Mix(ticks));
}

}  // namespace hoshizora

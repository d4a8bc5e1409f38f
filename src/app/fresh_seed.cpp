#include "app/fresh_seed.h"

#include <chrono>
#include <random>

#include "base/split_mix.h"

namespace hoshizora {
namespace {

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
  // Mixed, so that nearby clock readings give unrelated seeds.
  return SplitMix64Mix(FromDevice() ^ SplitMix64Mix(ticks));
}

}  // namespace hoshizora

#pragma once

#include <cstdint>
#include <functional>

namespace hoshizora {

// Where a front end takes the seed of a new practice telegram from; tests
// give fixed ones.
using SeedSource = std::function<std::uint64_t()>;

// A seed unlikely to repeat between runs: the random device mixed with the
// clock, since some standard libraries give a fixed sequence from the device
// and a machine may have no device at all.
std::uint64_t FreshSeed();

}  // namespace hoshizora

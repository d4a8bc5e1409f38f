#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace hoshizora {

// Reads an unsigned little-endian integer of `bytes` bytes at `at`; the caller
// has checked that they lie inside `data`.
inline std::uint32_t ReadLe(std::string_view data, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int k = bytes - 1; k >= 0; --k) {
    v = (v << 8) | static_cast<std::uint8_t>(data[at + static_cast<std::size_t>(k)]);
  }
  return v;
}

// Appends the low `bytes` bytes of `value`, least significant first.
inline void AppendLe(std::string& out, std::uint32_t value, int bytes) {
  for (int k = 0; k < bytes; ++k) {
    out.push_back(static_cast<char>((value >> (8 * k)) & 0xFF));
  }
}

}  // namespace hoshizora

#include "platform/icon_file.h"

#include <cstdint>

#include "base/little_endian.h"

namespace hoshizora {

int IconImage::Side() const {
  const int width = static_cast<std::uint8_t>(entry[0]);
  return width == 0 ? 256 : width;
}

std::optional<std::vector<IconImage>> ReadIconFile(std::string_view file) {
  if (file.size() < 6 || ReadLe(file, 2, 2) != 1) {
    return std::nullopt;
  }
  const std::size_t count = ReadLe(file, 4, 2);
  if (count == 0 || file.size() < 6 + 16 * count) {
    return std::nullopt;
  }
  std::vector<IconImage> images;
  images.reserve(count);
  std::uint64_t total = 6 + 16 * std::uint64_t{count};
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = 6 + 16 * i;
    const std::uint64_t size = ReadLe(file, at + 8, 4);
    const std::uint64_t offset = ReadLe(file, at + 12, 4);
    // 64-bit sums cannot overflow for 32-bit offsets and sizes.
    total += size;
    if (offset + size > file.size() || total > file.size()) {
      return std::nullopt;
    }
    images.push_back({file.substr(at, 8), file.substr(offset, size)});
  }
  return images;
}

}  // namespace hoshizora

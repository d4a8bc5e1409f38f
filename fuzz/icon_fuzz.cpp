// Icon files. Input: the icon file. A file whose directory and images lie
// inside it, and together fit in it, reads as exactly its images' bytes in
// directory order; anything else reads as nothing.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/little_endian.h"
#include "fuzz_support.h"
#include "platform/icon_file.h"

namespace {

// Whether the file is an icon whose directory and images lie inside it, and
// together fit in it (entries sharing bytes could multiply what is copied).
bool IsValidIconFile(std::string_view file) {
  using hoshizora::ReadLe;
  if (file.size() < 6 || ReadLe(file, 2, 2) != 1 || ReadLe(file, 4, 2) == 0) {
    return false;
  }
  const std::size_t count = ReadLe(file, 4, 2);
  if (file.size() < 6 + 16 * count) {
    return false;
  }
  std::uint64_t total = 6 + 16 * std::uint64_t{count};
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint64_t size = ReadLe(file, 6 + 16 * i + 8, 4);
    const std::uint64_t offset = ReadLe(file, 6 + 16 * i + 12, 4);
    total += size;
    if (offset + size > file.size() || total > file.size()) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace hoshizora;
  const std::string_view file = fuzz::AsBytes(data, size);
  const auto images = ReadIconFile(file);
  HOSHIZORA_CHECK(images.has_value() == IsValidIconFile(file));
  if (!images) {
    return 0;
  }
  HOSHIZORA_CHECK(images->size() == ReadLe(file, 4, 2));
  for (std::size_t i = 0; i < images->size(); ++i) {
    const std::size_t entry = 6 + 16 * i;
    HOSHIZORA_CHECK((*images)[i].entry == file.substr(entry, 8));
    HOSHIZORA_CHECK((*images)[i].bytes ==
                    file.substr(ReadLe(file, entry + 12, 4), ReadLe(file, entry + 8, 4)));
    HOSHIZORA_CHECK((*images)[i].Side() >= 1 && (*images)[i].Side() <= 256);
  }
  return 0;
}

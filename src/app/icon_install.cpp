#include "app/icon_install.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "base/little_endian.h"

namespace hoshizora {
namespace {

constexpr int kNeutralLanguage = 0;

// One directory entry of an icon file.
struct IconEntry {
  std::uint8_t width = 0;   // 0 stands for 256
  std::uint8_t height = 0;  // 0 stands for 256
  std::uint8_t colour_count = 0;
  std::uint8_t reserved = 0;
  std::uint16_t planes = 0;
  std::uint16_t bits_per_pixel = 0;
  std::uint32_t size = 0;
  std::uint32_t offset = 0;
};

// The directory of an icon file: nothing when the file is shorter than 6
// bytes, is not an icon (type 1), has no images, when a directory entry or
// an image lies (even partly) outside the file, or when the directory and
// the images together are larger than the file (entries sharing bytes).
std::optional<std::vector<IconEntry>> ParseIconDirectory(std::string_view file) {
  if (file.size() < 6 || ReadLe(file, 2, 2) != 1) {
    return std::nullopt;
  }
  const std::size_t count = ReadLe(file, 4, 2);
  if (count == 0 || file.size() < 6 + 16 * count) {
    return std::nullopt;
  }
  std::vector<IconEntry> entries;
  entries.reserve(count);
  // Images of a real icon share no bytes with each other or the directory,
  // so together they fit in the file; entries that all point at the same
  // bytes would make every installer copy the file once per entry.
  std::uint64_t total = 6 + 16 * std::uint64_t{count};
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = 6 + 16 * i;
    IconEntry e;
    e.width = static_cast<std::uint8_t>(file[at]);
    e.height = static_cast<std::uint8_t>(file[at + 1]);
    e.colour_count = static_cast<std::uint8_t>(file[at + 2]);
    e.reserved = static_cast<std::uint8_t>(file[at + 3]);
    e.planes = static_cast<std::uint16_t>(ReadLe(file, at + 4, 2));
    e.bits_per_pixel = static_cast<std::uint16_t>(ReadLe(file, at + 6, 2));
    e.size = ReadLe(file, at + 8, 4);
    e.offset = ReadLe(file, at + 12, 4);
    // 64-bit sums cannot overflow for 32-bit offsets and sizes.
    total += e.size;
    if (std::uint64_t{e.offset} + e.size > file.size() || total > file.size()) {
      return std::nullopt;
    }
    entries.push_back(e);
  }
  return entries;
}

// The icon group record: 6 bytes of header and 14 bytes per image, ids from 1.
std::string BuildGroupIconRecord(const std::vector<IconEntry>& entries) {
  std::string record;
  record.reserve(6 + 14 * entries.size());
  AppendLe(record, 0, 2);
  AppendLe(record, 1, 2);
  AppendLe(record, static_cast<std::uint32_t>(entries.size()), 2);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const IconEntry& e = entries[i];
    record.push_back(static_cast<char>(e.width));
    record.push_back(static_cast<char>(e.height));
    record.push_back(static_cast<char>(e.colour_count));
    record.push_back(static_cast<char>(e.reserved));
    AppendLe(record, e.planes, 2);
    AppendLe(record, e.bits_per_pixel, 2);
    AppendLe(record, e.size, 4);
    AppendLe(record, static_cast<std::uint32_t>(i + 1), 2);
  }
  return record;
}

}  // namespace

bool InstallIcon(IconResources& resources, const std::filesystem::path& executable_path,
                 std::string_view icon_file) {
  const auto entries = ParseIconDirectory(icon_file);
  if (!entries) {
    return false;
  }
  const std::string group = BuildGroupIconRecord(*entries);
  if (!resources.BeginUpdate(executable_path)) {
    return false;
  }
  for (std::size_t i = 0; i < entries->size(); ++i) {
    const IconEntry& e = (*entries)[i];
    if (!resources.AddResource(kIconResourceType, static_cast<int>(i + 1), kNeutralLanguage,
                               icon_file.substr(e.offset, e.size))) {
      resources.Discard();
      return false;
    }
  }
  if (!resources.AddResource(kIconGroupResourceType, 1, kNeutralLanguage, group)) {
    resources.Discard();
    return false;
  }
  return resources.Commit();
}

}  // namespace hoshizora

#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/icon_resources.h"

namespace hoshizora {

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
std::optional<std::vector<IconEntry>> ParseIconDirectory(std::string_view file);

// The icon group record: 6 bytes of header and 14 bytes per image, ids from 1.
std::string BuildGroupIconRecord(const std::vector<IconEntry>& entries);

// Writes the icon file's images and group into the executable's resources,
// all or nothing. False on any failure.
bool InstallIcon(IconResources& resources, const std::filesystem::path& executable_path,
                 std::string_view icon_file);

}  // namespace hoshizora

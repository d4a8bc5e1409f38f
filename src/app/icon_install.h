#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/icon_resources.h"

namespace hoshizora {

// Writes the icon file's images and group into the executable's resources,
// all or nothing. False on any failure.
bool InstallIcon(IconResources& resources, const std::filesystem::path& executable_path,
                 std::string_view icon_file);

}  // namespace hoshizora

#pragma once

#include <filesystem>
#include <string_view>

namespace hoshizora {

// Makes an icon the program's icon where the desktop shows programs.
class IconResources {
 public:
  virtual ~IconResources() = default;
  // `icon_file` is a whole .ico file. All or nothing: false, with the icon
  // already installed left as it was, when it is no icon (ReadIconFile) or
  // cannot be installed.
  virtual bool InstallProgramIcon(const std::filesystem::path& executable_path,
                                  std::string_view icon_file) = 0;
};

}  // namespace hoshizora

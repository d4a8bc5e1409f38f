#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/icon_resources.h"

namespace hoshizora::testing {

// Keeps the icon it is asked to install, and installs nothing.
class RecordingIcons : public IconResources {
 public:
  bool InstallProgramIcon(const std::filesystem::path& executable_path,
                          std::string_view icon_file) override {
    executable = executable_path;
    icon = std::string(icon_file);
    return true;
  }
  std::filesystem::path executable;  // empty until asked
  std::string icon;
};

}  // namespace hoshizora::testing

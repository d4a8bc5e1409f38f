#pragma once

#include <filesystem>
#include <string_view>
#include <utility>

#include "platform/icon_resources.h"

namespace hoshizora {

// The program's icon on a freedesktop desktop: the icon file becomes
// icons/hoshizora.ico (and hoshizora.png from its largest PNG image) under the
// data folder, and applications/hoshizora.desktop names the executable and
// that icon. Files are replaced atomically; a failure leaves the old ones.
class DesktopIconResources : public IconResources {
 public:
  explicit DesktopIconResources(std::filesystem::path data_folder)
      : data_folder_(std::move(data_folder)) {}

  // $XDG_DATA_HOME, else ~/.local/share; empty when neither can be found.
  static std::filesystem::path DefaultDataFolder();

  bool InstallProgramIcon(const std::filesystem::path& executable_path,
                          std::string_view icon_file) override;

 private:
  std::filesystem::path data_folder_;
};

}  // namespace hoshizora

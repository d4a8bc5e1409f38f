#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <utility>

#include "platform/icon_resources.h"

namespace hoshizora {

// Icon resources on a freedesktop desktop: the committed icon becomes
// icons/hoshizora.ico (and hoshizora.png from its largest PNG image) under the
// data folder, and applications/hoshizora.desktop names the executable and
// that icon. Files are replaced atomically; a failed commit leaves the old ones.
class DesktopIconResources : public IconResources {
 public:
  explicit DesktopIconResources(std::filesystem::path data_folder)
      : data_folder_(std::move(data_folder)) {}

  // $XDG_DATA_HOME, else ~/.local/share; empty when neither can be found.
  static std::filesystem::path DefaultDataFolder();

  bool BeginUpdate(const std::filesystem::path& executable_path) override;
  bool AddResource(int type, int id, int language, std::string_view bytes) override;
  bool Commit() override;
  void Discard() override;

 private:
  std::filesystem::path data_folder_;
  std::filesystem::path executable_;
  bool updating_ = false;
  std::map<std::pair<int, int>, std::string> resources_;  // (type, id) -> bytes
};

}  // namespace hoshizora

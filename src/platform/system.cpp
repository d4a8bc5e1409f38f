#include "platform/system.h"

namespace hoshizora {

std::filesystem::path ExecutableFolder(System& system) {
  return system.ExecutablePath().parent_path();
}

bool CreateFolders(System& system, const std::filesystem::path& folder) {
  if (folder.empty()) {
    return false;
  }
  if (system.PathExists(folder)) {
    return true;
  }
  const std::filesystem::path parent = folder.parent_path();
  if (!parent.empty() && parent != folder && !CreateFolders(system, parent)) {
    return false;
  }
  // Another process may make it between the check and here.
  return system.CreateFolder(folder) == FolderMade::kMade || system.PathExists(folder);
}

}  // namespace hoshizora

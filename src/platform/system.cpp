#include "platform/system.h"

namespace hoshizora {

std::filesystem::path ExecutableFolder(System& system) {
  return system.ExecutablePath().parent_path();
}

}  // namespace hoshizora

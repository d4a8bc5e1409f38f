#include "platform/system.h"

#include "platform/paths.h"

namespace hoshizora {

std::u16string ExecutableFolder(System& system) {
  return RemoveLastComponent(system.ExecutablePath());
}

}  // namespace hoshizora

#include "cli/interruption.h"

namespace hoshizora {

static_assert(CancelFlag::is_always_lock_free && std::atomic<int>::is_always_lock_free,
              "a signal handler may only touch lock-free atomics");

Interruption& ProgramInterruption() {
  static constinit Interruption interruption;
  return interruption;
}

int StatusAfterInterruption(int status) {
  const int signal = ProgramInterruption().signal.load();
  return ProgramInterruption().requested.load() && signal > 0 ? 128 + signal : status;
}

}  // namespace hoshizora

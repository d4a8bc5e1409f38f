#include "cli/interruption.h"

namespace hoshizora {

static_assert(CancelFlag::is_always_lock_free && std::atomic<int>::is_always_lock_free &&
                  std::atomic<bool>::is_always_lock_free,
              "a signal handler may only touch lock-free atomics");

Interruption& ProgramInterruption() {
  static constinit Interruption interruption;
  return interruption;
}

bool RequestStop(int signal) {
  Interruption& interruption = ProgramInterruption();
  if (!interruption.watched.load()) {
    return false;
  }
  interruption.signal.store(signal);
  interruption.requested.store(true);
  return true;
}

int StatusAfterInterruption(int status) {
  const int signal = ProgramInterruption().signal.load();
  return ProgramInterruption().requested.load() && signal > 0 ? 128 + signal : status;
}

}  // namespace hoshizora

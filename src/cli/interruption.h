#pragma once

#include <atomic>

#include "platform/system.h"

namespace hoshizora {

// A request from outside (SIGINT, SIGTERM, SIGHUP) to stop: the run under way
// ends at its next check, its encoder's process group with it, and the
// command line exits with 128 + the signal.
struct Interruption {
  CancelFlag requested{false};
  std::atomic<int> signal{0};
};

// What the program's signal handlers set. Constant-initialised, so a handler
// may reach it at any time.
Interruption& ProgramInterruption();

// The exit status of a command that an interruption stopped, or `status`.
int StatusAfterInterruption(int status);

}  // namespace hoshizora

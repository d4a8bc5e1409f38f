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
  // Whether a run that checks `requested` is under way. Outside one nothing
  // would notice a request (a command waiting for its input, say), so the
  // program should end at once, as it would without a handler.
  std::atomic<bool> watched{false};
};

// What the program's signal handlers set. Constant-initialised, so a handler
// may reach it at any time.
Interruption& ProgramInterruption();

// Records a request to stop with `signal`; false when no run would notice it.
// Only touches lock-free atomics, so a signal handler may call it.
bool RequestStop(int signal);

// Marks the time a command's runs check for a request to stop.
class WatchedRun {
 public:
  WatchedRun() { ProgramInterruption().watched.store(true); }
  ~WatchedRun() { ProgramInterruption().watched.store(false); }
  WatchedRun(const WatchedRun&) = delete;
  WatchedRun& operator=(const WatchedRun&) = delete;
};

// The exit status of a command that an interruption stopped, or `status`.
int StatusAfterInterruption(int status);

}  // namespace hoshizora

#pragma once

#include <signal.h>

#include <cstddef>
#include <functional>
#include <optional>

namespace hoshizora {

// SIGINT, SIGTERM and SIGHUP (a Ctrl-C in the terminal, `kill`, the desktop
// session ending), caught with `handler` while this lives; the handlers
// before come back with its end. A signal ignored from the start (nohup, a
// shell's background job) stays ignored.
class StopSignalHandlers {
 public:
  explicit StopSignalHandlers(void (*handler)(int signal));
  ~StopSignalHandlers();
  StopSignalHandlers(const StopSignalHandlers&) = delete;
  StopSignalHandlers& operator=(const StopSignalHandlers&) = delete;

 private:
  static constexpr std::size_t kCount = 3;
  struct sigaction previous_[kCount] = {};
  bool caught_[kCount] = {};
};

// The stop signals as bytes on a socket instead of the end of the program,
// for an event loop to watch: when `read_fd` has data the loop calls Drain,
// and can stop what it runs and close as it would when asked. Without a
// socket (read_fd() < 0) the signals keep their default. One at a time.
class StopSignalSocket {
 public:
  StopSignalSocket();
  ~StopSignalSocket();
  StopSignalSocket(const StopSignalSocket&) = delete;
  StopSignalSocket& operator=(const StopSignalSocket&) = delete;

  int read_fd() const { return read_fd_; }

  // Calls `on_stop` with each signal that came since the last call, in order.
  void Drain(const std::function<void(int signal)>& on_stop);

 private:
  int read_fd_ = -1;
  std::optional<StopSignalHandlers> handlers_;
};

}  // namespace hoshizora

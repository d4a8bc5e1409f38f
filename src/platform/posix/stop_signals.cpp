#include "platform/posix/stop_signals.h"

#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <iterator>

namespace hoshizora {
namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The handler's only way out: a byte naming the signal, written to a socket
// that the event loop watches. Nothing else is safe inside a handler.
std::atomic<int> write_fd{-1};

void WriteSignal(int signal) {
  const int saved_errno = errno;
  const unsigned char byte = static_cast<unsigned char>(signal);
  const int fd = write_fd.load();
  if (fd >= 0) {
    [[maybe_unused]] const ssize_t written = write(fd, &byte, 1);
  }
  errno = saved_errno;
}

}  // namespace

StopSignalHandlers::StopSignalHandlers(void (*handler)(int)) {
  static_assert(std::size(kStopSignals) == kCount);
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < kCount; ++i) {
    caught_[i] = sigaction(kStopSignals[i], nullptr, &previous_[i]) == 0 &&
                 previous_[i].sa_handler != SIG_IGN &&
                 sigaction(kStopSignals[i], &action, nullptr) == 0;
  }
}

StopSignalHandlers::~StopSignalHandlers() {
  for (std::size_t i = 0; i < kCount; ++i) {
    if (caught_[i]) {
      sigaction(kStopSignals[i], &previous_[i], nullptr);
    }
  }
}

StopSignalSocket::StopSignalSocket() {
  int fds[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds) != 0) {
    return;
  }
  read_fd_ = fds[0];
  write_fd.store(fds[1]);
  handlers_.emplace(WriteSignal);
}

StopSignalSocket::~StopSignalSocket() {
  if (read_fd_ < 0) {
    return;
  }
  handlers_.reset();
  close(write_fd.exchange(-1));
  close(read_fd_);
}

void StopSignalSocket::Drain(const std::function<void(int)>& on_stop) {
  unsigned char byte = 0;
  while (read_fd_ >= 0 && read(read_fd_, &byte, 1) == 1) {
    if (on_stop) {
      on_stop(byte);
    }
  }
}

}  // namespace hoshizora

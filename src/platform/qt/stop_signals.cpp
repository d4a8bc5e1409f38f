#include "platform/qt/stop_signals.h"

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <iterator>

namespace hoshizora {
namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The handler's only way out: a byte naming the signal, written to a socket
// that the Qt thread watches. Nothing else is safe inside a handler.
std::atomic<int> write_fd{-1};
struct sigaction previous[std::size(kStopSignals)];
bool caught[std::size(kStopSignals)];

void OnSignal(int signal) {
  const int saved_errno = errno;
  const unsigned char byte = static_cast<unsigned char>(signal);
  const int fd = write_fd.load();
  if (fd >= 0) {
    [[maybe_unused]] const ssize_t written = write(fd, &byte, 1);
  }
  errno = saved_errno;
}

}  // namespace

StopSignals::StopSignals(std::function<void(int)> on_stop) : on_stop_(std::move(on_stop)) {
  int fds[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds) != 0) {
    return;  // the signals keep their default: ending the program
  }
  read_fd_ = fds[0];
  write_fd.store(fds[1]);
  notifier_ = std::make_unique<QSocketNotifier>(read_fd_, QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { ReadSignals(); });

  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
    caught[i] = sigaction(kStopSignals[i], nullptr, &previous[i]) == 0 &&
                previous[i].sa_handler != SIG_IGN &&
                sigaction(kStopSignals[i], &action, nullptr) == 0;
  }
}

StopSignals::~StopSignals() {
  if (read_fd_ < 0) {
    return;
  }
  for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
    if (caught[i]) {
      sigaction(kStopSignals[i], &previous[i], nullptr);
    }
  }
  notifier_.reset();
  close(write_fd.exchange(-1));
  close(read_fd_);
}

void StopSignals::ReadSignals() {
  unsigned char byte = 0;
  while (read(read_fd_, &byte, 1) == 1) {
    if (on_stop_) {
      on_stop_(byte);
    }
  }
}

}  // namespace hoshizora

#pragma once

#include <QObject>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace hoshizora {

// Brings SIGINT, SIGTERM and SIGHUP (the desktop session ending, `kill`, a
// Ctrl-C in the terminal that started the window) to the Qt thread as a call
// of `on_stop` with the signal, instead of ending the program on the spot:
// the window can then stop its run, so that no encoder is left behind, and
// close as its close box would. A signal ignored from the start (nohup)
// stays ignored. One instance at a time; the old handlers come back with its
// end.
class StopSignals : public QObject {
 public:
  explicit StopSignals(std::function<void(int signal)> on_stop);
  ~StopSignals() override;
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

 private:
  void ReadSignals();

  std::function<void(int)> on_stop_;
  int read_fd_ = -1;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace hoshizora

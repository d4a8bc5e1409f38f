#include "platform/win32/console_stops.h"

#include <windows.h>

#include <chrono>
#include <csignal>
#include <thread>

namespace hoshizora {
namespace {

// Windows allows about five seconds after a console's close event.
constexpr auto kCloseGrace = std::chrono::milliseconds(4500);
constexpr auto kFinishPoll = std::chrono::milliseconds(20);

// Set once, before the handler is installed; read on the thread that Windows
// starts for each event.
std::atomic<ConsoleStopHandler> stop_handler{nullptr};
std::atomic<const std::atomic<bool>*> run_finished{nullptr};

void WaitForFinish() {
  const std::atomic<bool>* finished = run_finished.load();
  const auto deadline = std::chrono::steady_clock::now() + kCloseGrace;
  while (finished != nullptr && !finished->load() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(kFinishPoll);
  }
}

BOOL WINAPI OnConsoleControl(DWORD event) {
  return HandleConsoleStop(event) ? TRUE : FALSE;
}

}  // namespace

bool HandleConsoleStop(unsigned long event) {
  const ConsoleStopHandler on_stop = stop_handler.load();
  if (on_stop == nullptr) {
    return false;
  }
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
      return on_stop(SIGINT);
    case CTRL_CLOSE_EVENT:
      if (!on_stop(SIGTERM)) {
        return false;
      }
      WaitForFinish();
      return true;
    default:
      return false;  // log-off and shut-down events are meant for services
  }
}

bool CatchConsoleStops(ConsoleStopHandler on_stop, const std::atomic<bool>* finished) {
  run_finished.store(finished);
  stop_handler.store(on_stop);
  return SetConsoleCtrlHandler(OnConsoleControl, TRUE) != 0;
}

}  // namespace hoshizora

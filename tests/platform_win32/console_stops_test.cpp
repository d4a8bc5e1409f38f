#include "platform/win32/console_stops.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>

namespace hoshizora {
namespace {

using namespace std::chrono_literals;

// What the program would do with a request: `taking` says whether a run is
// under way to notice it.
std::atomic<bool> taking{true};
std::atomic<int> requested{0};

bool Record(int signal) {
  if (!taking.load()) {
    return false;
  }
  requested.store(signal);
  return true;
}

// One handler for the whole program, so one test sees every event in turn.
TEST(ConsoleStops, EventsBecomeRequestsOnlyWhileARunNoticesThem) {
  std::atomic<bool> finished{false};
  ASSERT_TRUE(CatchConsoleStops(Record, &finished));

  EXPECT_TRUE(HandleConsoleStop(CTRL_C_EVENT));
  EXPECT_EQ(requested.exchange(0), SIGINT);
  EXPECT_TRUE(HandleConsoleStop(CTRL_BREAK_EVENT));
  EXPECT_EQ(requested.exchange(0), SIGINT);

  // Log-off and shut-down are left to Windows: a console program that took
  // them would keep the session waiting.
  EXPECT_FALSE(HandleConsoleStop(CTRL_LOGOFF_EVENT));
  EXPECT_FALSE(HandleConsoleStop(CTRL_SHUTDOWN_EVENT));
  EXPECT_EQ(requested.load(), 0);

  // Closing the console waits for the run to finish, and no longer.
  std::thread run([&] {
    std::this_thread::sleep_for(300ms);
    finished.store(true);
  });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(HandleConsoleStop(CTRL_CLOSE_EVENT));
  const auto waited = std::chrono::steady_clock::now() - start;
  run.join();
  EXPECT_EQ(requested.exchange(0), SIGTERM);
  EXPECT_GE(waited, 250ms);
  EXPECT_LT(waited, 4s);

  // With no run under way, Windows ends the program as it always would.
  taking.store(false);
  EXPECT_FALSE(HandleConsoleStop(CTRL_C_EVENT));
  EXPECT_FALSE(HandleConsoleStop(CTRL_CLOSE_EVENT));
  EXPECT_EQ(requested.load(), 0);
}

}  // namespace
}  // namespace hoshizora

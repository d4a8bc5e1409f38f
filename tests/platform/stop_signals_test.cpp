#include "platform/posix/stop_signals.h"

#include <gtest/gtest.h>

#include <csignal>
#include <vector>

namespace hoshizora {
namespace {

// The signals come out in the order they came; one ignored from the start
// stays ignored, and the handlers before come back afterwards.
TEST(StopSignalSocket, PassesSignalsOnAndLeavesIgnoredOnesAlone) {
  struct sigaction before {};
  sigaction(SIGTERM, nullptr, &before);
  const auto hup = std::signal(SIGHUP, SIG_IGN);
  std::vector<int> got;
  {
    StopSignalSocket stop;
    ASSERT_GE(stop.read_fd(), 0);
    raise(SIGTERM);
    raise(SIGINT);
    stop.Drain([&](int signal) { got.push_back(signal); });
    EXPECT_EQ(got, (std::vector<int>{SIGTERM, SIGINT}));
    struct sigaction now {};
    sigaction(SIGHUP, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_IGN);
  }
  struct sigaction after {};
  sigaction(SIGTERM, nullptr, &after);
  EXPECT_EQ(after.sa_handler, before.sa_handler);
  std::signal(SIGHUP, hup);
}

}  // namespace
}  // namespace hoshizora

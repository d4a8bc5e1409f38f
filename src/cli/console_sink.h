#pragma once

#include <chrono>
#include <functional>
#include <mutex>
#include <ostream>
#include <string>

#include "app/output_sink.h"

namespace hoshizora {

// The output run's sink on a terminal: messages as "caption: text" lines, and
// each new step once the run has taken a while, so short runs stay quiet.
class ConsoleSink : public OutputSink {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  static constexpr std::chrono::milliseconds kQuietPeriod{500};

  explicit ConsoleSink(std::ostream& out, Clock clock = std::chrono::steady_clock::now)
      : out_(out), clock_(std::move(clock)), start_(clock_()) {}

  void Report(std::u16string_view step, double share) override;
  const CancelFlag& Cancel() const override { return cancel_; }
  void ShowMessage(std::u16string_view text, std::u16string_view caption,
                   MessageIcon icon) override;

 private:
  std::ostream& out_;
  Clock clock_;
  const std::chrono::steady_clock::time_point start_;
  std::mutex mutex_;
  CancelFlag cancel_{false};
  std::u16string last_;
};

}  // namespace hoshizora

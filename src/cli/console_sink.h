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

  // `cancel`, when given, is the flag the run watches (set from outside, by a
  // signal); else the sink's own, never set.
  explicit ConsoleSink(std::ostream& out, Clock clock = std::chrono::steady_clock::now,
                       const CancelFlag* cancel = nullptr)
      : out_(out), clock_(std::move(clock)), start_(clock_()), cancel_(cancel) {}

  void Report(std::u16string_view step, double share) override;
  const CancelFlag& Cancel() const override {
    return cancel_ != nullptr ? *cancel_ : never_cancelled_;
  }
  void ShowMessage(std::u16string_view text, std::u16string_view caption,
                   MessageIcon icon) override;

 private:
  std::ostream& out_;
  Clock clock_;
  const std::chrono::steady_clock::time_point start_;
  std::mutex mutex_;
  const CancelFlag* cancel_;
  CancelFlag never_cancelled_{false};
  std::u16string last_;
};

}  // namespace hoshizora

#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>

#include "app/output_sink.h"

namespace hoshizora {

// How the output run's progress shows on stderr.
struct ConsoleProgress {
  enum class Style {
    kLines,  // a line for each new step: stderr is a file or a pipe
    kBar,    // one line redrawn in place: stderr is a terminal
    kNone,   // --quiet
  };
  Style style = Style::kLines;
  // The terminal's width in columns, asked at each redraw so that a resized
  // window is followed. Only the bar uses it.
  std::function<int()> columns;
};

// The output run's sink on the console: messages as "caption: text" lines,
// and progress once the run has taken a while, so short runs stay quiet.
class ConsoleSink : public OutputSink {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  static constexpr std::chrono::milliseconds kQuietPeriod{500};

  // `cancel`, when given, is the flag the run watches (set from outside, by a
  // signal); else the sink's own, never set.
  explicit ConsoleSink(std::ostream& out, Clock clock = std::chrono::steady_clock::now,
                       ConsoleProgress progress = {}, const CancelFlag* cancel = nullptr)
      : out_(out),
        clock_(std::move(clock)),
        progress_(std::move(progress)),
        start_(clock_()),
        cancel_(cancel) {}

  void Report(std::u16string_view step, double share) override;
  const CancelFlag& Cancel() const override {
    return cancel_ != nullptr ? *cancel_ : never_cancelled_;
  }
  void ShowMessage(std::u16string_view text, std::u16string_view caption,
                   MessageIcon icon) override;

  // Redraws the bar, so that the elapsed time runs on and the busy block
  // moves while no step reports (the encoder's run). In lines, prints the
  // step under way once the quiet period is over, if it was not yet printed.
  void Tick();
  // The run is over: the bar is wiped and progress no longer shown.
  void EndProgress();

 private:
  void PrintStepLine();
  void DrawBar();
  void WipeBar();

  std::ostream& out_;
  Clock clock_;
  ConsoleProgress progress_;
  const std::chrono::steady_clock::time_point start_;
  std::mutex mutex_;
  const CancelFlag* cancel_;
  CancelFlag never_cancelled_{false};
  std::u16string last_;
  double share_ = 0;
  bool has_step_ = false;
  bool line_printed_ = false;  // lines: the step in last_ has its line
  bool ended_ = false;
  int bar_columns_ = 0;  // what the bar on screen takes, 0 when none is shown
  unsigned busy_tick_ = 0;
};

// Calls the sink's Tick from a thread of its own, a few times a second, for
// as long as it lives.
class ProgressTicker {
 public:
  static constexpr std::chrono::milliseconds kInterval{150};

  explicit ProgressTicker(ConsoleSink& sink);
  ~ProgressTicker();
  ProgressTicker(const ProgressTicker&) = delete;
  ProgressTicker& operator=(const ProgressTicker&) = delete;

 private:
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  std::thread thread_;
};

}  // namespace hoshizora

#include "cli/console_sink.h"

#include <algorithm>
#include <optional>

#include "base/utf8.h"
#include "cli/cli_language.h"
#include "cli/progress_line.h"
#include "cli/terminal_text.h"

namespace hoshizora {

void ConsoleSink::Report(std::u16string_view run_step, double share) {
  std::lock_guard lock(mutex_);
  if (ended_ || progress_.style == ConsoleProgress::Style::kNone) {
    return;
  }
  // The run names its steps in Japanese, as the window shows them.
  const std::u16string step = RunTextInLanguage(run_step);
  if (progress_.style == ConsoleProgress::Style::kBar) {
    last_ = step;
    share_ = share;
    has_step_ = true;
    if (clock_() - start_ >= kQuietPeriod) {
      DrawBar();
    }
    return;
  }
  if (!has_step_ || step != last_) {
    last_ = step;
    share_ = share;
    has_step_ = true;
    line_printed_ = false;
  }
  if (clock_() - start_ >= kQuietPeriod) {
    PrintStepLine();
  }
}

void ConsoleSink::ShowMessage(std::u16string_view text, std::u16string_view caption, MessageIcon) {
  std::lock_guard lock(mutex_);
  // The message takes the bar's line; the next redraw puts the bar below it.
  WipeBar();
  out_ << TerminalText(RunTextInLanguage(caption)) << ": " << TerminalText(RunTextInLanguage(text))
       << "\n";
}

void ConsoleSink::Tick() {
  std::lock_guard lock(mutex_);
  if (ended_ || progress_.style == ConsoleProgress::Style::kNone || !has_step_ ||
      clock_() - start_ < kQuietPeriod) {
    return;
  }
  if (progress_.style == ConsoleProgress::Style::kLines) {
    // A step that began inside the quiet period and still runs (the encoder)
    // is printed once the period is over, not never.
    PrintStepLine();
    return;
  }
  if (share_ < 0) {
    ++busy_tick_;
  }
  DrawBar();
}

void ConsoleSink::EndProgress() {
  std::lock_guard lock(mutex_);
  WipeBar();
  ended_ = true;
}

void ConsoleSink::PrintStepLine() {
  if (line_printed_) {
    return;
  }
  line_printed_ = true;
  out_ << "hoshizora-cli: " << TerminalText(last_);
  if (share_ >= 0) {
    out_ << " (" << static_cast<int>(share_ * 100) << "%)";
  }
  out_ << "\n";
  out_.flush();
}

void ConsoleSink::DrawBar() {
  const double elapsed = std::chrono::duration<double>(clock_() - start_).count();
  const int width = progress_.columns ? progress_.columns() : 0;
  const std::string line =
      RenderProgressLine(TerminalText(last_), share_ >= 0 ? std::optional(share_) : std::nullopt,
                         elapsed, width, busy_tick_);
  const int columns = DisplayColumns(line);
  // Blanks over what is left of a longer line: no terminal escapes needed.
  out_ << '\r' << line << std::string(std::max(0, bar_columns_ - columns), ' ') << '\r';
  out_.flush();
  bar_columns_ = columns;
}

void ConsoleSink::WipeBar() {
  if (bar_columns_ > 0) {
    out_ << '\r' << std::string(bar_columns_, ' ') << '\r';
    bar_columns_ = 0;
  }
}

ProgressTicker::ProgressTicker(ConsoleSink& sink)
    : thread_([this, &sink] {
        std::unique_lock lock(mutex_);
        while (!wake_.wait_for(lock, kInterval, [this] { return stop_; })) {
          lock.unlock();
          sink.Tick();
          lock.lock();
        }
      }) {}

ProgressTicker::~ProgressTicker() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

}  // namespace hoshizora

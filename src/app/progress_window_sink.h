#pragma once

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "app/output_messages.h"
#include "app/output_sink.h"
#include "platform/progress_reporter.h"

namespace hoshizora {

// A run's sink inside the window's progress window: progress and cancel go to
// the window; messages wait until the window is gone, since the run reports
// them from its worker thread.
class ProgressWindowSink : public OutputSink {
 public:
  explicit ProgressWindowSink(ProgressReporter& progress) : progress_(progress) {}

  void Report(std::u16string_view step, double share) override { progress_.Report(step, share); }
  const CancelFlag& Cancel() const override { return progress_.Cancel(); }
  void ShowMessage(std::u16string_view text, std::u16string_view caption,
                   MessageIcon icon) override {
    std::lock_guard lock(mutex_);
    messages_.push_back({std::u16string(text), std::u16string(caption), icon});
  }
  std::vector<ShownMessage> TakeMessages() {
    std::lock_guard lock(mutex_);
    return std::move(messages_);
  }

 private:
  ProgressReporter& progress_;
  std::mutex mutex_;
  std::vector<ShownMessage> messages_;
};

}  // namespace hoshizora

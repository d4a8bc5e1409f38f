#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "app/output_sink.h"

namespace hoshizora::testing {

// An OutputSink that records what a run reports and presses cancel when a
// step starting with `cancel_at_step` is reported.
class RecordingSink : public OutputSink {
 public:
  struct Message {
    std::u16string text;
    std::u16string caption;
    MessageIcon icon;
  };

  void Report(std::u16string_view step, double share) override {
    std::lock_guard lock(mutex_);
    steps.emplace_back(step);
    shares.push_back(share);
    if (!cancel_at_step.empty() && step.starts_with(cancel_at_step)) {
      cancel = true;
    }
  }
  const CancelFlag& Cancel() const override { return cancel; }
  void ShowMessage(std::u16string_view text, std::u16string_view caption,
                   MessageIcon icon) override {
    std::lock_guard lock(mutex_);
    messages.push_back({std::u16string(text), std::u16string(caption), icon});
  }

  std::u16string cancel_at_step;
  CancelFlag cancel{false};
  std::vector<std::u16string> steps;
  std::vector<double> shares;
  std::vector<Message> messages;

 private:
  std::mutex mutex_;
};

}  // namespace hoshizora::testing

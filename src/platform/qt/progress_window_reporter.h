#pragma once

#include <QProgressDialog>
#include <atomic>

#include "platform/progress_reporter.h"

namespace hoshizora {

// Reports from the worker thread reach the progress window through the event
// loop, so the window keeps painting while the work runs. While the share is
// unknown the bar moves to and fro (Qt's busy bar, range 0 to 0); a known
// share brings the plain bar back.
class ProgressWindowReporter : public ProgressReporter {
 public:
  static constexpr int kSteps = 1000;

  explicit ProgressWindowReporter(QProgressDialog* dialog) : dialog_(dialog) {}
  void Report(std::u16string_view step, double share) override;
  const CancelFlag& Cancel() const override { return cancel_; }
  void PressCancel() { cancel_ = true; }

 private:
  QProgressDialog* dialog_;
  CancelFlag cancel_{false};
};

}  // namespace hoshizora

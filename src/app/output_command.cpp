#include "app/output_command.h"

#include <mutex>
#include <vector>

#include "app/control_ids.h"
#include "app/dialog_fields.h"
#include "app/output_messages.h"

namespace hoshizora {
namespace {

// The run's sink inside the progress window: progress and cancel go to the
// window; messages wait until the window is gone, since the run reports them
// from its worker thread.
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

}  // namespace

OutputReport RunOutputCommand(Dialog& dialog, System& system, Canvas& canvas) {
  const auto frequency = ParseToneSetting(
      dialog.GetControlText(ids::kFrequency, ids::kToneBufferOutput), kMinFrequency, kMaxFrequency);
  const auto speed = ParseToneSetting(dialog.GetControlText(ids::kSpeed, ids::kToneBufferOutput),
                                      kMinSpeed, kMaxSpeed);
  if (!frequency || !speed) {
    const OutputReport refused = RefusedReport(!frequency ? kFrequencyRefused : kSpeedRefused);
    dialog.ShowMessage(refused.message, refused.caption, refused.icon);
    return refused;
  }

  OutputRequest request;
  request.fields = ReadWholeTelegramFields(dialog);
  request.frequency = *frequency;
  request.speed = *speed;
  request.open_audio = dialog.IsChecked(ids::kOpenAudio);
  request.open_listing = dialog.IsChecked(ids::kOpenListing);
  request.open_folder = dialog.IsChecked(ids::kOpenFolder);
  request.program_folder = ExecutableFolder(system);

  OutputReport report;
  std::vector<ShownMessage> messages;
  dialog.RunWithProgress(u"電報出力", [&](ProgressReporter& progress) {
    ProgressWindowSink sink(progress);
    report = RunOutput(request, system, canvas, sink);
    messages = sink.TakeMessages();
  });
  for (const ShownMessage& m : messages) {
    dialog.ShowMessage(m.text, m.caption, m.icon);
  }
  dialog.ShowMessage(report.message, report.caption, report.icon);
  return report;
}

}  // namespace hoshizora

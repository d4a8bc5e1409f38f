#include "cli/console_dialog.h"

#include <mutex>

#include "base/utf8.h"

namespace hoshizora {
namespace {

// Prints a step once it has run for a while, so short runs stay quiet.
class ConsoleProgress : public ProgressReporter {
 public:
  explicit ConsoleProgress(std::ostream& out) : out_(out) {}
  void Report(std::u16string_view step, double fraction) override {
    std::lock_guard lock(mutex_);
    if (std::chrono::steady_clock::now() - start_ < std::chrono::milliseconds(500) ||
        step == last_) {
      return;
    }
    last_ = std::u16string(step);
    out_ << "hoshizora-cli: " << EncodeUtf8(step);
    if (fraction >= 0) {
      out_ << " (" << static_cast<int>(fraction * 100) << "%)";
    }
    out_ << "\n";
  }
  const std::atomic<bool>& CancelFlag() const override { return cancel_; }

 private:
  std::ostream& out_;
  std::mutex mutex_;
  std::atomic<bool> cancel_{false};
  std::u16string last_;
  const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace

void ConsoleDialog::ShowMessage(std::u16string_view text, std::u16string_view caption,
                                MessageIcon) {
  messages_ << EncodeUtf8(caption) << ": " << EncodeUtf8(text) << "\n";
}

std::u16string ConsoleDialog::GetControlText(int id, int buffer_size) {
  const std::u16string& text = texts_[id];
  const auto limit = static_cast<std::size_t>(buffer_size > 0 ? buffer_size - 1 : 0);
  return text.size() > limit ? text.substr(0, limit) : text;
}

void ConsoleDialog::SetControlText(int id, std::u16string_view text) {
  texts_[id] = std::u16string(text);
}

bool ConsoleDialog::IsChecked(int id) {
  return checked_[id];
}

void ConsoleDialog::SetChecked(int id, bool checked) {
  checked_[id] = checked;
}

void ConsoleDialog::RunWithProgress(std::u16string_view,
                                    const std::function<void(ProgressReporter&)>& work) {
  ConsoleProgress progress(messages_);
  work(progress);
}

}  // namespace hoshizora

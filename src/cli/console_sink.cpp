#include "cli/console_sink.h"

#include "cli/terminal_text.h"

namespace hoshizora {

void ConsoleSink::Report(std::u16string_view step, double share) {
  std::lock_guard lock(mutex_);
  if (clock_() - start_ < kQuietPeriod || step == last_) {
    return;
  }
  last_ = std::u16string(step);
  out_ << "hoshizora-cli: " << TerminalText(step);
  if (share >= 0) {
    out_ << " (" << static_cast<int>(share * 100) << "%)";
  }
  out_ << "\n";
}

void ConsoleSink::ShowMessage(std::u16string_view text, std::u16string_view caption, MessageIcon) {
  std::lock_guard lock(mutex_);
  out_ << TerminalText(caption) << ": " << TerminalText(text) << "\n";
}

}  // namespace hoshizora

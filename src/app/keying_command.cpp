#include "app/keying_command.h"

#include "app/keying_settings.h"
#include "app/settings.h"

namespace hoshizora {

void RunKeyingCommand(Dialog& dialog, KeyingOptions& keying) {
  const int speed = SpeedToSave(dialog);
  KeyingOptions shown = BoundKeying(keying, speed);
  // Off is the top of the effective speed's range: its spin shows the speed.
  if (shown.effective_cpm == 0) {
    shown.effective_cpm = speed;
  }
  if (const auto answer = dialog.AskKeyingOptions(shown, speed)) {
    keying = BoundKeying(*answer, speed);
  }
}

}  // namespace hoshizora

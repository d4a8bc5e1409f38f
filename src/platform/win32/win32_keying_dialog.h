#pragma once

#include <optional>

#include "base/keying_options.h"

struct HWND__;  // <windows.h> stays out of headers: see win32_main_window.h

namespace hoshizora {

// The audio settings dialog, 「音声の設定」, modal over `owner`, from the
// template IDD_KEYING of this executable: the rise time and the effective
// speed, each in an edit with its spin bound to its range, starting at the
// values `shown`. On OK, the numbers as typed (a field that holds no number
// gives its shown value), unbounded; nothing on Cancel.
std::optional<KeyingOptions> AskKeyingOptionsInDialog(HWND__* owner, const KeyingOptions& shown,
                                                      int max_effective);

}  // namespace hoshizora

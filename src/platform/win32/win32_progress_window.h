#pragma once

#include <functional>
#include <string_view>

#include "platform/dialog.h"

struct HWND__;  // <windows.h> stays out of headers: see win32_main_window.h

namespace hoshizora {

// Runs `work` on a worker thread while a modal progress window owned by
// `owner` shows what it reports (from a moment after the start, so that
// quick work does not flash it), with a Cancel button that sets the work's
// cancel flag. The calling thread keeps handling messages, so the owner
// stays painted; the owner is disabled meanwhile. Returns when the work has
// finished; an exception the work threw is thrown again here. A quit message
// that arrives meanwhile is posted again once the window is gone.
void RunWithProgressWindow(HWND__* owner, std::u16string_view caption,
                           const std::function<void(ProgressReporter&)>& work);

}  // namespace hoshizora

#pragma once

#include "app/main_dialog.h"

namespace hoshizora {

// The 「受信練習…」 menu item: runs the practice dialog over the main window,
// with the window's keying options, the scoring scheme of the settings and
// the practice options it had when last closed.
void RunPracticeDialog(MainDialog& main);

// The 「送信練習…」 menu item: runs the sending dialog over the main window,
// likewise, recording with the window's recorder.
void RunSendingDialog(MainDialog& main);

}  // namespace hoshizora

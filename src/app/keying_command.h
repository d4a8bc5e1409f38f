#pragma once

#include "base/keying_options.h"
#include "platform/dialog.h"

namespace hoshizora {

// The 「音声の設定…」 menu item. Asks for the keying options in the small
// modal dialog, against the speed that closing would save (the speed field,
// bounded), and keeps the answer in `keying`, bounded for that speed; Cancel
// leaves `keying` as it was. Nothing is written here: the options are saved
// with the other settings on close and used by the next output run.
void RunKeyingCommand(Dialog& dialog, KeyingOptions& keying);

}  // namespace hoshizora

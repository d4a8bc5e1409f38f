#pragma once

#include "platform/dialog.h"
#include "platform/system.h"

namespace hoshizora {

// "電報保存": asks for a file name and saves the six fields there, then says
// whether it worked and which fields were cut.
void SaveTelegramText(Dialog& dialog, System& system);

// "電報読込": asks for a file and sets the six fields from it. A file that
// cannot be read whole (missing, not a regular file, over 1 MiB, a read
// error) leaves the fields as they were.
void LoadTelegramText(Dialog& dialog, System& system);

}  // namespace hoshizora

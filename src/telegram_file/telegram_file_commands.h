#pragma once

#include "platform/dialog.h"

namespace hoshizora {

// "電報保存": asks for a file name and writes the six fields as a tagged UTF-8
// file. The file is written beside the target and renamed over it only when
// complete, so an existing file survives every failure.
void SaveTelegramText(Dialog& dialog);

// "電報読込": asks for a file and sets the six fields from it. Files larger
// than 1 MiB are refused and the fields stay as they were.
void LoadTelegramText(Dialog& dialog);

}  // namespace hoshizora

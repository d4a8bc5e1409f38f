#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "encoding/telegram_fields.h"

#include "platform/dialog.h"
#include "platform/system.h"

namespace hoshizora {

// "電報保存": asks for a file name and saves the six fields there, then says
// whether it worked and which fields were cut.
void SaveTelegramText(Dialog& dialog, System& system);

// Why a file that was read gives no telegram (an empty file, or text without
// any of the tags).
inline constexpr std::u16string_view kNoTelegramInFile =
    u"このファイルには電報がありません([VALA]〜[VALE]、[TEXT]の行がありません)。";

struct ChosenTelegram {
  std::filesystem::path path;
  TelegramFields fields;
};

// Asks for a telegram file in the Open dialog titled `title` and reads it.
// A file that cannot be read whole (missing, not a regular file, over 1 MiB,
// a read error) or holds no telegram is refused with a message saying why;
// nothing then, nor when the user cancels.
std::optional<ChosenTelegram> ChooseTelegramFile(Dialog& dialog, System& system,
                                                 std::u16string title);

// "電報読込": asks for a file and sets the six fields from it. A file that
// cannot be read whole (missing, not a regular file, over 1 MiB, a read
// error) or holds no telegram leaves the fields as they were.
void LoadTelegramText(Dialog& dialog, System& system);

}  // namespace hoshizora

#pragma once

#include <filesystem>

#include "encoding/telegram_fields.h"
#include "platform/system.h"

namespace hoshizora {

// "電報保存": the six fields as a tagged UTF-8 file, written beside the target
// and renamed over it only when complete, so an existing file survives every
// failure. False when it could not be written.
bool SaveTelegramFile(System& system, const std::filesystem::path& path,
                      const TelegramFields& fields);

// "電報読込": the six fields from a file. Only a regular file of at most 1 MiB
// is read; `fields` is set only when `status` is kRead, and means something
// only when the file holds a telegram (an empty file gives six empty fields).
struct TelegramFileRead {
  FileRead::Status status = FileRead::Status::kMissing;
  TelegramFields fields;
  bool holds_telegram = false;
};
TelegramFileRead LoadTelegramFile(System& system, const std::filesystem::path& path);

}  // namespace hoshizora

#include "telegram_file/telegram_file_commands.h"

#include "telegram_file/telegram_text_format.h"

namespace hoshizora {

bool SaveTelegramFile(System& system, const std::filesystem::path& path,
                      const TelegramFields& fields) {
  return system.ReplaceFile(path, SerializeTelegramText(fields));
}

TelegramFileRead LoadTelegramFile(System& system, const std::filesystem::path& path) {
  const FileRead file = system.ReadFile(path, kLargestTelegramFile);
  TelegramFileRead result;
  result.status = file.status;
  if (file.status == FileRead::Status::kRead) {
    result.fields = ParseTelegramText(file.bytes);
    result.holds_telegram = HoldsTelegram(file.bytes);
  }
  return result;
}

}  // namespace hoshizora

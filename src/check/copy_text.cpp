#include "check/copy_text.h"

#include "base/utf8.h"
#include "telegram_file/telegram_text_format.h"

namespace hoshizora {

std::optional<CheckCopy> ParseCopyText(std::string_view bytes) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  const std::string_view text =
      bytes.starts_with(kByteOrderMark) ? bytes.substr(kByteOrderMark.size()) : bytes;
  std::optional<std::u16string> decoded = DecodeUtf8Strict(text);
  if (!decoded) {
    return std::nullopt;
  }
  CheckCopy copy;
  if (HoldsTelegram(bytes)) {
    copy.fields = ParseTelegramText(bytes);
    copy.has_header = true;
  } else {
    copy.fields.body = std::move(*decoded);
  }
  return copy;
}

}  // namespace hoshizora

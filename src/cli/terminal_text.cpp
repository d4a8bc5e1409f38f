#include "cli/terminal_text.h"

#include "base/utf8.h"

namespace hoshizora {
namespace {

bool ShownAsCode(char16_t c, char16_t next) {
  if (c == u'\n' || c == u'\t' || (c == u'\r' && next == u'\n')) {
    return false;
  }
  return c <= 0x1F || (c >= 0x7F && c <= 0x9F) || c == 0x200E || c == 0x200F ||
         (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

std::u16string Code(char16_t c) {
  constexpr std::u16string_view kDigits = u"0123456789ABCDEF";
  std::u16string code = u"U+";
  for (int shift = 12; shift >= 0; shift -= 4) {
    code.push_back(kDigits[(c >> shift) & 0xF]);
  }
  return code;
}

}  // namespace

std::string TerminalText(std::u16string_view text) {
  std::u16string shown;
  shown.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t next = i + 1 < text.size() ? text[i + 1] : u'\0';
    if (ShownAsCode(text[i], next)) {
      shown += Code(text[i]);
    } else {
      shown.push_back(text[i]);
    }
  }
  return EncodeUtf8(shown);
}

}  // namespace hoshizora

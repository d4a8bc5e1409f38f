#include "telegram_file/telegram_text_format.h"

#include <array>

#include "base/utf8.h"

namespace hoshizora {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::u16string_view kTextTag = u"[TEXT]";

struct Tag {
  std::u16string_view name;
  std::u16string TelegramFields::*field;
};

constexpr std::array<Tag, 5> kTags = {{
    {u"[VALA]", &TelegramFields::count},
    {u"[VALB]", &TelegramFields::station},
    {u"[VALC]", &TelegramFields::number},
    {u"[VALD]", &TelegramFields::time},
    {u"[VALE]", &TelegramFields::addressee},
}};

}  // namespace

std::string SerializeTelegramText(const TelegramFields& fields) {
  std::string out(kByteOrderMark);
  const auto line = [&out](std::u16string_view text) {
    out.append(EncodeUtf8(text));
    out.push_back('\n');
  };
  for (const Tag& tag : kTags) {
    line(std::u16string(tag.name) + fields.*tag.field);
  }
  line(kTextTag);
  line(fields.body);
  return out;
}

TelegramFields ParseTelegramText(std::string_view bytes) {
  if (bytes.starts_with(kByteOrderMark)) {
    bytes.remove_prefix(kByteOrderMark.size());
  }
  if (const std::size_t zero = bytes.find('\0'); zero != std::string_view::npos) {
    bytes = bytes.substr(0, zero);
  }
  const std::u16string text = DecodeUtf8Lenient(bytes);

  TelegramFields fields;
  bool in_body = false;
  bool after_addressee = false;  // untagged lines continue a multi-line addressee
  bool body_has_lines = false;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(u'\n', start);
    if (end == std::u16string::npos) {
      end = text.size();
    }
    const std::u16string_view line = std::u16string_view(text).substr(start, end - start);
    start = end + 1;

    bool tagged = false;
    for (const Tag& tag : kTags) {
      if (line.starts_with(tag.name)) {
        fields.*tag.field = std::u16string(line.substr(tag.name.size()));
        after_addressee = tag.field == &TelegramFields::addressee;
        tagged = true;
        break;
      }
    }
    if (tagged) {
      continue;
    }
    if (line.starts_with(kTextTag)) {
      in_body = true;
      after_addressee = false;
      body_has_lines = false;
      fields.body.clear();
      continue;
    }
    if (in_body) {
      // Lines join with the line feed that separated them; the one that
      // closes the last line belongs to the file, not to the body.
      if (body_has_lines) {
        fields.body.push_back(u'\n');
      }
      fields.body.append(line);
      body_has_lines = true;
    } else if (after_addressee) {
      fields.addressee.push_back(u'\n');
      fields.addressee.append(line);
    }
  }
  return fields;
}

}  // namespace hoshizora

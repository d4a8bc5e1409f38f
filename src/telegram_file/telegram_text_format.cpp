#include "telegram_file/telegram_text_format.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "base/unicode.h"
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

constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr char16_t kReplacement = 0xFFFD;

// Half a surrogate pair is no character: it becomes U+FFFD, as an invalid
// UTF-8 sequence does.
std::u16string KeepWholeSurrogatePairs(std::u16string units) {
  for (std::size_t i = 0; i < units.size(); ++i) {
    if (CharacterUnits(units, i) == 2) {
      ++i;
    } else if (IsSurrogate(units[i])) {
      units[i] = kReplacement;
    }
  }
  return units;
}

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

std::u16string DecodeTelegramText(std::string_view bytes) {
  const bool little = bytes.starts_with(kUtf16LeMark);
  if (!little && !bytes.starts_with(kUtf16BeMark)) {
    if (bytes.starts_with(kByteOrderMark)) {
      bytes.remove_prefix(kByteOrderMark.size());
    }
    if (const std::size_t zero = bytes.find('\0'); zero != std::string_view::npos) {
      bytes = bytes.substr(0, zero);
    }
    return DecodeUtf8Lenient(bytes);
  }
  std::u16string units;
  for (std::size_t at = 2; at + 1 < bytes.size(); at += 2) {
    const auto first = static_cast<std::uint8_t>(bytes[at]);
    const auto second = static_cast<std::uint8_t>(bytes[at + 1]);
    const auto unit = static_cast<char16_t>(little ? first | (second << 8) : (first << 8) | second);
    if (unit == 0) {
      return KeepWholeSurrogatePairs(units);
    }
    units.push_back(unit);
  }
  if (bytes.size() % 2 != 0) {
    units.push_back(kReplacement);  // half a character at the end
  }
  return KeepWholeSurrogatePairs(units);
}

bool HoldsTelegram(std::string_view bytes) {
  const std::u16string text = DecodeTelegramText(bytes);
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find(u'\n', start);
    if (end == std::u16string::npos) {
      end = text.size();
    }
    const std::u16string_view line = std::u16string_view(text).substr(start, end - start);
    if (line.starts_with(kTextTag) || std::any_of(kTags.begin(), kTags.end(), [&](const Tag& tag) {
          return line.starts_with(tag.name);
        })) {
      return true;
    }
    start = end + 1;
  }
  return false;
}

TelegramFields ParseTelegramText(std::string_view bytes) {
  const std::u16string text = DecodeTelegramText(bytes);

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

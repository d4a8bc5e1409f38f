#include "encoding/encode_telegram.h"

#include <set>

#include "base/unicode.h"
#include "encoding/code_tables.h"
#include "encoding/kana_folding.h"
#include "encoding/telegram_signs.h"

namespace hoshizora {
namespace {

constexpr std::u16string_view kStartSignCode = u" -..--- ";
constexpr std::u16string_view kEndSignCode = u" ...-. ";
constexpr std::u16string_view kGroupMarkCode = u"？ ";

const std::u16string* LookUpCode(const CodeTables& tables, char16_t c) {
  if (auto it = tables.wabun.find(c); it != tables.wabun.end()) {
    return &it->second;
  }
  const char16_t lower = (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
  if (auto it = tables.latin.find(lower); it != tables.latin.end()) {
    return &it->second;
  }
  return nullptr;
}

// Appends the units of one character to `out` (when given); false when any
// part of the folded character has no code.
bool AppendCharacterCode(const CodeTables& tables, char16_t c, std::u16string* out) {
  const FoldedCharacter folded = FoldForCodeTable(c);
  bool keyed = true;
  for (std::size_t k = 0; k < folded.size; ++k) {
    const std::u16string* code = LookUpCode(tables, folded.chars[k]);
    if (code == nullptr) {
      keyed = false;
    } else if (out != nullptr) {
      out->append(*code);
      out->push_back(u' ');
    }
  }
  return keyed;
}

bool StartsWithAt(std::u16string_view text, std::size_t i, std::u16string_view sign) {
  return text.substr(i, sign.size()) == sign;
}

}  // namespace

std::u16string EncodeTelegram(std::u16string_view text) {
  const CodeTables& tables = BuildCodeTables();
  std::u16string out;
  out.reserve(text.size() * 7);
  std::size_t i = 0;
  while (i < text.size()) {
    if (StartsWithAt(text, i, kStartSign)) {
      out.append(kStartSignCode);
      i += kStartSign.size();
    } else if (StartsWithAt(text, i, kEndSign)) {
      out.append(kEndSignCode);
      i += kEndSign.size();
    } else if (text[i] == kGroupMark) {
      out.append(kGroupMarkCode);
      ++i;
    } else {
      AppendCharacterCode(tables, text[i], &out);
      ++i;
    }
  }
  return out;
}

std::vector<std::u16string> ListUnkeyedCharacters(std::u16string_view text) {
  const CodeTables& tables = BuildCodeTables();
  std::vector<std::u16string> unkeyed;
  std::set<std::u16string> seen;
  std::size_t i = 0;
  while (i < text.size()) {
    if (StartsWithAt(text, i, kStartSign) || StartsWithAt(text, i, kEndSign)) {
      i += kStartSign.size();
      continue;
    }
    const char16_t c = text[i];
    const std::size_t length = CharacterUnits(text, i);
    const bool skip =
        IsUncountedCharacter(c) || (length == 1 && AppendCharacterCode(tables, c, nullptr));
    if (!skip) {
      std::u16string character(text.substr(i, length));
      if (seen.insert(character).second) {
        unkeyed.push_back(std::move(character));
      }
    }
    i += length;
  }
  return unkeyed;
}

}  // namespace hoshizora

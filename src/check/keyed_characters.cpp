#include "check/keyed_characters.h"

#include "base/unicode.h"
#include "encoding/code_tables.h"
#include "encoding/kana_folding.h"
#include "encoding/telegram_signs.h"

namespace hoshizora {
namespace {

// The code keying sends for one Code table key, as EncodeTelegram looks it up.
const std::u16string* CodeOf(const CodeTables& tables, char16_t c) {
  if (const auto it = tables.wabun.find(c); it != tables.wabun.end()) {
    return &it->second;
  }
  const char16_t lower = (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
  if (const auto it = tables.latin.find(lower); it != tables.latin.end()) {
    return &it->second;
  }
  return nullptr;
}

std::vector<KeyedCharacter> Characters(std::u16string_view text, bool keep_unkeyable) {
  const CodeTables& tables = BuildCodeTables();
  std::vector<KeyedCharacter> out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    if (text.substr(i).starts_with(kStartSign) || text.substr(i).starts_with(kEndSign)) {
      i += kStartSign.size();
      continue;
    }
    const char16_t c = text[i];
    const std::size_t length = CharacterUnits(text, i);
    if (IsUncountedCharacter(c)) {
      i += length;
      continue;
    }
    const FoldedCharacter folded = FoldForCodeTable(c);
    const std::size_t first = out.size();
    bool keyed = length == 1;
    for (std::size_t k = 0; keyed && k < folded.size; ++k) {
      if (const std::u16string* code = CodeOf(tables, folded.chars[k])) {
        out.push_back({std::u16string(1, folded.chars[k]), *code, i});
      } else if (keep_unkeyable) {
        keyed = false;
      }
    }
    if (!keyed && keep_unkeyable) {
      out.resize(first);
      out.push_back({std::u16string(text.substr(i, length)), u"", i});
    }
    i += length;
  }
  return out;
}

}  // namespace

bool SameKeyedCharacter(const KeyedCharacter& a, const KeyedCharacter& b) {
  return !a.code.empty() && a.code == b.code;
}

std::vector<KeyedCharacter> KeyedCharactersOf(std::u16string_view text) {
  return Characters(text, false);
}

std::vector<KeyedCharacter> CopiedCharactersOf(std::u16string_view text) {
  return Characters(text, true);
}

}  // namespace hoshizora

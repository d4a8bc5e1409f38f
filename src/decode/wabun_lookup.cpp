#include "decode/wabun_lookup.h"

#include <map>
#include <vector>

#include "encoding/code_tables.h"
#include "encoding/telegram_signs.h"

namespace hoshizora {
namespace {

bool IsSmallKana(char16_t c) {
  return std::u16string_view(u"ァィゥェォャュョッ").find(c) != std::u16string_view::npos;
}

// Lower wins where characters share a code.
int Preference(char16_t c) {
  if (c >= u'ァ' && c <= u'ヺ' && !IsSmallKana(c)) {
    return 0;
  }
  if (c == u'゛' || c == u'゜' || c == u'-') {
    return 1;
  }
  if (c >= 0x4E00 || c == u'〇') {
    return 2;  // kanji numerals
  }
  if (c >= 0x3000 && c < 0x3040) {
    return 3;  // full-width punctuation
  }
  if (c >= 0xFF00) {
    return 4;
  }
  if (c >= u'ぁ' && c <= u'ゖ') {
    return 6;
  }
  return 5;
}

struct Reading {
  std::u16string text;
  int preference = 99;
};

std::map<std::u16string, Reading> MakeReverseTable() {
  std::map<std::u16string, Reading> table;
  for (const auto& [key, code] : BuildCodeTables().wabun) {
    const int p = Preference(key);
    Reading& r = table[code];
    if (p < r.preference) {
      // The long vowel mark is keyed from ー and read back as it.
      r = {key == u'-' ? std::u16string(u"ー") : std::u16string(1, key), p};
    }
  }
  table[u"-..---"] = {std::u16string(kStartSign), 0};
  table[u"...-."] = {std::u16string(kEndSign), 0};
  return table;
}

const std::map<std::u16string, Reading>& ReverseTable() {
  static const std::map<std::u16string, Reading> table = MakeReverseTable();
  return table;
}

}  // namespace

std::optional<std::u16string> LookUpCode(std::u16string_view code) {
  const auto& table = ReverseTable();
  const auto it = table.find(std::u16string(code));
  if (it == table.end()) {
    return std::nullopt;
  }
  return it->second.text;
}

std::u16string ReadCode(std::u16string_view code, const std::vector<double>& inner_gaps) {
  if (auto whole = LookUpCode(code)) {
    return *whole;
  }
  if (code.size() >= 2 && inner_gaps.size() + 1 == code.size()) {
    std::size_t widest = 0;
    for (std::size_t i = 1; i < inner_gaps.size(); ++i) {
      if (inner_gaps[i] > inner_gaps[widest]) {
        widest = i;
      }
    }
    const auto first = LookUpCode(code.substr(0, widest + 1));
    const auto second = LookUpCode(code.substr(widest + 1));
    if (first && second) {
      return *first + *second;
    }
  }
  return std::u16string(1, kUnreadable);
}

}  // namespace hoshizora

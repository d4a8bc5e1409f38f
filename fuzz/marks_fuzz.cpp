// Group marks and encoding. Input: one byte of mode (bit 0: the text is
// UTF-16LE rather than UTF-8; bit 1: wrap it in Start and End signs), then the
// text. Marking only adds a Group mark after every 60th counted body
// character, a surrogate pair counting once; encoding gives code tokens only.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "base/utf8.h"
#include "encoding/code_tables.h"
#include "encoding/encode_telegram.h"
#include "encoding/group_marks.h"
#include "encoding/telegram_signs.h"
#include "fuzz_support.h"

namespace {

using namespace hoshizora;

void CheckMarks(std::u16string_view text, std::u16string_view marked) {
  const auto body = FindTelegramBody(text);
  if (!body) {
    HOSHIZORA_CHECK(marked == text);
    HOSHIZORA_CHECK(CountBodyCharacters(text) == 0);
    return;
  }
  const auto marked_body = FindTelegramBody(marked);
  HOSHIZORA_CHECK(marked_body && marked_body->begin == body->begin);
  HOSHIZORA_CHECK(marked.substr(0, body->begin) == text.substr(0, body->begin));
  HOSHIZORA_CHECK(marked.substr(marked_body->end) == text.substr(body->end));

  // Walk both bodies together, a character (one unit or a surrogate pair) at
  // a time; the marked body may differ only by a mark after each 60th.
  std::size_t i = body->begin;
  std::size_t j = body->begin;
  std::int32_t counted = 0;
  std::int32_t marks = 0;
  while (i < body->end) {
    const bool pair =
        fuzz::IsHighSurrogate(text[i]) && i + 1 < body->end && fuzz::IsLowSurrogate(text[i + 1]);
    const std::size_t length = pair ? 2 : 1;
    HOSHIZORA_CHECK(j + length <= marked_body->end);
    HOSHIZORA_CHECK(marked.substr(j, length) == text.substr(i, length));
    if (!IsUncountedCharacter(text[i]) && ++counted % kGroupSize == 0) {
      HOSHIZORA_CHECK(j + length < marked_body->end && marked[j + length] == kGroupMark);
      ++j;
      ++marks;
    }
    i += length;
    j += length;
  }
  HOSHIZORA_CHECK(j == marked_body->end);
  HOSHIZORA_CHECK(CountBodyCharacters(text) == counted);
  HOSHIZORA_CHECK(CountBodyCharacters(marked) == counted);
  HOSHIZORA_CHECK(marks == counted / kGroupSize);
  if (!fuzz::HasLoneSurrogate(text)) {
    HOSHIZORA_CHECK(!fuzz::HasLoneSurrogate(marked));
  }
}

const std::set<std::u16string>& CodeTokens() {
  static const std::set<std::u16string> tokens = [] {
    std::set<std::u16string> all = {u"-..---", u"...-.", u"？"};
    const CodeTables& tables = BuildCodeTables();
    for (const CodeTable* table : {&tables.wabun, &tables.latin}) {
      for (const auto& [key, code] : *table) {
        all.insert(code);
      }
    }
    return all;
  }();
  return tokens;
}

// The tokens of a Code text, split at blanks only: any other separator would
// end up inside a token and fail the check against the tables.
std::vector<std::u16string> Tokens(std::u16string_view code) {
  std::vector<std::u16string> tokens;
  for (std::size_t start = 0; start < code.size();) {
    std::size_t end = code.find(u' ', start);
    if (end == std::u16string_view::npos) {
      end = code.size();
    }
    if (end > start) {
      tokens.emplace_back(code.substr(start, end - start));
    }
    start = end + 1;
  }
  return tokens;
}

bool IsBlankOrLineBreak(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\u3000';
}

void CheckEncoding(std::u16string_view marked) {
  const std::u16string code = EncodeTelegram(marked);
  std::size_t mark_tokens = 0;
  for (const std::u16string& token : Tokens(code)) {
    HOSHIZORA_CHECK(CodeTokens().contains(token));
    mark_tokens += token == u"？" ? 1 : 0;
  }
  std::size_t marks = 0;
  for (char16_t c : marked) {
    marks += c == kGroupMark ? 1 : 0;
  }
  HOSHIZORA_CHECK(mark_tokens == marks);

  // The note of unkeyed characters agrees with what the encoding keys: each
  // listed character keys nothing, and each other character keys something.
  std::set<std::u16string> unkeyed;
  for (const std::u16string& character : ListUnkeyedCharacters(marked)) {
    HOSHIZORA_CHECK(unkeyed.insert(character).second);
    HOSHIZORA_CHECK(character.size() == 1 ||
                    (character.size() == 2 && !fuzz::HasLoneSurrogate(character)));
    HOSHIZORA_CHECK(character != u"？" && !IsBlankOrLineBreak(character[0]));
    HOSHIZORA_CHECK(Tokens(EncodeTelegram(character)).empty());
  }
  for (char16_t c : std::set<char16_t>(marked.begin(), marked.end())) {
    const std::u16string character(1, c);
    if (!IsBlankOrLineBreak(c) && c != u'[' && c != u']' && !fuzz::IsHighSurrogate(c) &&
        !fuzz::IsLowSurrogate(c) && !unkeyed.contains(character)) {
      HOSHIZORA_CHECK(!Tokens(EncodeTelegram(character)).empty());
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  const std::string_view bytes = fuzz::AsBytes(data + 1, size - 1);
  std::u16string text = data[0] & 1 ? fuzz::Utf16FromBytes(bytes) : DecodeUtf8Lenient(bytes);
  if (data[0] & 2) {
    text = std::u16string(kStartSign) + text + std::u16string(kEndSign);
  }
  const std::u16string marked = InsertGroupMarks(text);
  CheckMarks(text, marked);
  CheckEncoding(marked);
  return 0;
}

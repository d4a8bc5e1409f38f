#include "practice/practice_words.h"

#include "base/unicode.h"
#include "base/utf8.h"
#include "practice/practice_words_data.h"

namespace hoshizora {
namespace {

std::vector<std::u16string>* Section(PracticeWordList& list, std::u16string_view name) {
  if (name == u"words") {
    return &list.words;
  }
  if (name == u"prefectures") {
    return &list.prefectures;
  }
  if (name == u"cities") {
    return &list.cities;
  }
  if (name == u"family_names") {
    return &list.family_names;
  }
  if (name == u"given_names") {
    return &list.given_names;
  }
  return nullptr;
}

}  // namespace

PracticeWordList ParsePracticeWordList(std::string_view utf8) {
  PracticeWordList list;
  const std::u16string text = DecodeUtf8Lenient(utf8);
  std::vector<std::u16string>* section = nullptr;
  int line_number = 0;
  // An editor may have saved the file with a byte order mark.
  std::size_t start = text.starts_with(u'\uFEFF') ? 1 : 0;
  while (start < text.size()) {
    std::size_t end = text.find(u'\n', start);
    if (end == std::u16string::npos) {
      end = text.size();
    }
    ++line_number;
    const std::u16string_view line =
        Trim(std::u16string_view(text).substr(start, end - start), IsBlank);
    start = end + 1;
    if (line.empty() || line.front() == u'#') {
      continue;
    }
    if (line.front() == u'[' && line.back() == u']') {
      section = Section(list, line.substr(1, line.size() - 2));
      if (section == nullptr) {
        list.stray_lines.push_back(line_number);
      }
    } else if (section != nullptr) {
      section->emplace_back(line);
    } else {
      list.stray_lines.push_back(line_number);
    }
  }
  return list;
}

const PracticeWordList& BuiltInPracticeWords() {
  static const PracticeWordList list = ParsePracticeWordList(PracticeWordsFileBytes());
  return list;
}

}  // namespace hoshizora

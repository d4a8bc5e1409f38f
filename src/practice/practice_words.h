#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hoshizora {

// The material of practice telegrams: body words and phrases, and the parts
// an addressee is made of.
struct PracticeWordList {
  std::vector<std::u16string> words;
  std::vector<std::u16string> prefectures;  // each ends in ケン
  std::vector<std::u16string> cities;       // each ends in シ
  std::vector<std::u16string> family_names;
  std::vector<std::u16string> given_names;
  // Numbers (from 1) of lines that belong to no known section, so that a
  // mistyped section name does not silently drop its entries.
  std::vector<int> stray_lines;
};

// Reads the word list format: UTF-8, one entry a line, "#" comment lines,
// "[words]", "[prefectures]", "[cities]", "[family_names]" and
// "[given_names]" starting sections. Blanks around an entry are dropped.
PracticeWordList ParsePracticeWordList(std::string_view utf8);

// The list compiled into the program, read on first use.
const PracticeWordList& BuiltInPracticeWords();

}  // namespace hoshizora

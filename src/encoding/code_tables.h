#pragma once

#include <map>
#include <string>

namespace hoshizora {

using CodeTable = std::map<char16_t, std::u16string>;

// The Wabun table (kana, numerals, marks, punctuation) and the Latin table
// (lower-case letters and the period). Both are read-only once built.
struct CodeTables {
  CodeTable wabun;
  CodeTable latin;
};

// Builds both tables on the first call and returns the same tables on every
// later call, so calling it again changes nothing.
const CodeTables& BuildCodeTables();

}  // namespace hoshizora

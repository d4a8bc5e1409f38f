#pragma once

#include <string>
#include <vector>

#include "encoding/telegram_fields.h"

namespace hoshizora {

// The parts of a telegram a copy is scored on, each on its own.
enum class CheckField { kBody, kCount, kStation, kNumber, kTime, kAddressee };

enum class CheckErrorKind {
  kSubstitution,  // 誤字: a keyed character written as another
  kOmission,      // 脱字: a keyed character not written
  kInsertion,     // 余字: a character written that was not keyed
};

struct CheckError {
  CheckErrorKind kind;
  CheckField field;
  // Index into the field's keyed characters of the key (for an insertion,
  // the keyed character it stands before; the field's length at the end).
  int position = 0;
  std::u16string expected;  // empty for an insertion
  std::u16string got;       // empty for an omission
  // Index into the field's keyed characters of the copy (for an omission,
  // the copied character it stands before; the copy's length at the end).
  int copy_position = 0;
};

// Points taken off per error of each kind, and the score that passes.
struct CheckScheme {
  int substitution = 1;
  int omission = 1;
  int insertion = 1;
  int pass_mark = 80;
};

// What the learner copied: the body alone, or a whole telegram.
struct CheckCopy {
  TelegramFields fields;  // only body is read when has_header is false
  bool has_header = false;
};

struct CheckResult {
  int score = 100;  // 100 minus the deductions, never below 0
  bool pass = true;
  CheckScheme scheme;
  int substitutions = 0;
  int omissions = 0;
  int insertions = 0;
  std::vector<CheckError> errors;  // in field order, then by position
};

// Scores the copy against the key in keyed characters (folded as keying
// folds them; signs, group marks, blanks and line breaks ignored on both
// sides), by the cheapest edit script with unit costs.
CheckResult ScoreCopy(const TelegramFields& key, const CheckCopy& copy, const CheckScheme& scheme);

}  // namespace hoshizora

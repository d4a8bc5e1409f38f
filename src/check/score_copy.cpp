#include "check/alignment.h"
#include "check/check_fields.h"
#include "check/check_result.h"

namespace hoshizora {
namespace {

CheckErrorKind ErrorKind(EditKind kind) {
  switch (kind) {
    case EditKind::kOmission:
      return CheckErrorKind::kOmission;
    case EditKind::kInsertion:
      return CheckErrorKind::kInsertion;
    default:
      return CheckErrorKind::kSubstitution;
  }
}

void ScoreField(const std::vector<KeyedCharacter>& key, const std::vector<KeyedCharacter>& copy,
                CheckField field, CheckResult& result) {
  for (const EditStep& step : AlignKeyedCharacters(key, copy)) {
    if (step.kind == EditKind::kMatch) {
      continue;
    }
    CheckError error{ErrorKind(step.kind), field, step.key, {}, {}, step.copy};
    if (step.kind != EditKind::kInsertion) {
      error.expected = key[static_cast<std::size_t>(step.key)].text;
    }
    if (step.kind != EditKind::kOmission) {
      error.got = copy[static_cast<std::size_t>(step.copy)].text;
    }
    switch (error.kind) {
      case CheckErrorKind::kSubstitution:
        ++result.substitutions;
        break;
      case CheckErrorKind::kOmission:
        ++result.omissions;
        break;
      case CheckErrorKind::kInsertion:
        ++result.insertions;
        break;
    }
    result.errors.push_back(std::move(error));
  }
}

}  // namespace

CheckResult ScoreCopy(const TelegramFields& key, const CheckCopy& copy, const CheckScheme& scheme) {
  CheckResult result;
  result.scheme = scheme;
  ScoreField(KeyFieldCharacters(key, CheckField::kBody),
             CopyFieldCharacters(key, copy, CheckField::kBody), CheckField::kBody, result);
  if (copy.has_header) {
    for (CheckField field : kHeaderFields) {
      ScoreField(KeyFieldCharacters(key, field), CopyFieldCharacters(key, copy, field), field,
                 result);
    }
  }
  // In 64 bits: a long copy times the largest deduction must not wrap round.
  const long long deductions = static_cast<long long>(result.substitutions) * scheme.substitution +
                               static_cast<long long>(result.omissions) * scheme.omission +
                               static_cast<long long>(result.insertions) * scheme.insertion;
  result.score = deductions >= 100 ? 0 : static_cast<int>(100 - deductions);
  result.pass = result.score >= scheme.pass_mark;
  return result;
}

}  // namespace hoshizora

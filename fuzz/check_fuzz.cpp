// The reception check. Input: the key's body and the learner's copy as UTF-8,
// split at the first zero byte. The edit script covers both sequences in
// order, pairs only what it says matches, costs no more than the plain edit
// distance, and the result and the marked form's cells agree with it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "base/utf8.h"
#include "check/alignment.h"
#include "check/check_fields.h"
#include "check/check_result.h"
#include "check/marked_form.h"
#include "fuzz_support.h"

namespace {

using namespace hoshizora;

// Longer inputs make the plain distance below too slow to be worth fuzzing.
constexpr std::size_t kLongest = 600;

int EditDistance(const std::vector<KeyedCharacter>& a, const std::vector<KeyedCharacter>& b) {
  std::vector<int> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) {
    row[j] = static_cast<int>(j);
  }
  for (std::size_t i = 1; i <= a.size(); ++i) {
    int diagonal = row[0];
    row[0] = static_cast<int>(i);
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const int up = row[j];
      row[j] = std::min(
          {up + 1, row[j - 1] + 1, diagonal + (SameKeyedCharacter(a[i - 1], b[j - 1]) ? 0 : 1)});
      diagonal = up;
    }
  }
  return row[b.size()];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::AsBytes(data, size);
  const std::size_t zero = bytes.find('\0');
  if (zero == std::string_view::npos || size > 4 * kLongest) {
    return 0;
  }
  TelegramFields key;
  key.body = DecodeUtf8Lenient(bytes.substr(0, zero));
  CheckCopy copy;
  copy.fields.body = DecodeUtf8Lenient(bytes.substr(zero + 1));
  const std::vector<KeyedCharacter> k = KeyFieldCharacters(key, CheckField::kBody);
  const std::vector<KeyedCharacter> c = CopyFieldCharacters(key, copy, CheckField::kBody);
  if (k.size() > kLongest || c.size() > kLongest) {
    return 0;
  }

  // The script walks both sequences once, in order.
  const std::vector<EditStep> steps = AlignKeyedCharacters(k, c);
  int i = 0;
  int j = 0;
  int cost = 0;
  for (const EditStep& step : steps) {
    HOSHIZORA_CHECK(step.key == i && step.copy == j);
    switch (step.kind) {
      case EditKind::kMatch:
        HOSHIZORA_CHECK(
            SameKeyedCharacter(k[static_cast<std::size_t>(i)], c[static_cast<std::size_t>(j)]));
        ++i;
        ++j;
        break;
      case EditKind::kSubstitution:
        HOSHIZORA_CHECK(
            !SameKeyedCharacter(k[static_cast<std::size_t>(i)], c[static_cast<std::size_t>(j)]));
        ++i;
        ++j;
        ++cost;
        break;
      case EditKind::kOmission:
        ++i;
        ++cost;
        break;
      case EditKind::kInsertion:
        ++j;
        ++cost;
        break;
    }
  }
  HOSHIZORA_CHECK(i == static_cast<int>(k.size()) && j == static_cast<int>(c.size()));
  HOSHIZORA_CHECK(cost == EditDistance(k, c));

  // The result counts the same errors; the score follows from them.
  const CheckResult result = ScoreCopy(key, copy, {});
  HOSHIZORA_CHECK(static_cast<int>(result.errors.size()) == cost);
  HOSHIZORA_CHECK(result.substitutions + result.omissions + result.insertions == cost);
  HOSHIZORA_CHECK(result.score == std::max(0, 100 - cost));
  HOSHIZORA_CHECK(result.pass == (result.score >= 80));

  // One cell per copied character, one per character left out.
  std::set<std::size_t> sources;
  for (const KeyedCharacter& ch : c) {
    sources.insert(ch.source);
  }
  std::size_t written = 0;
  std::size_t missing = 0;
  for (const MarkedCell& cell : MarkedCells(key, copy, CheckField::kBody)) {
    written +=
        cell.kind == MarkedCell::Kind::kMissing || cell.kind == MarkedCell::Kind::kBlank ? 0 : 1;
    missing += cell.kind == MarkedCell::Kind::kMissing ? 1 : 0;
    HOSHIZORA_CHECK((cell.kind == MarkedCell::Kind::kWrong ||
                     cell.kind == MarkedCell::Kind::kMissing) == !cell.expected.empty());
  }
  HOSHIZORA_CHECK(written == sources.size());
  HOSHIZORA_CHECK(missing <= static_cast<std::size_t>(result.omissions));
  HOSHIZORA_CHECK(missing > 0 || result.omissions == 0);
  return 0;
}

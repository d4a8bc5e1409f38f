#include "history/check_tally.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "check/check_fields.h"
#include "encoding/kana_folding.h"

namespace hoshizora {
namespace {

// Characters keyed alike are counted as one (あ, ァ and ア as ア).
std::u16string Counted(const std::u16string& text) {
  return text.size() == 1 ? std::u16string(1, FullSizeKatakanaOf(text[0])) : text;
}

}  // namespace

HistoryRecord RecordOfCheck(const TelegramFields& key, const CheckCopy& copy,
                            const CheckResult& result) {
  HistoryRecord record;
  record.score = result.score;
  record.pass_mark = result.scheme.pass_mark;
  record.substitutions = result.substitutions;
  record.omissions = result.omissions;
  record.insertions = result.insertions;

  std::vector<CheckField> fields = {CheckField::kBody};
  if (copy.has_header) {
    fields.insert(fields.end(), std::begin(kHeaderFields), std::end(kHeaderFields));
  }
  for (CheckField field : fields) {
    const std::vector<KeyedCharacter> keyed = KeyFieldCharacters(key, field);
    for (const KeyedCharacter& c : keyed) {
      ++record.characters[Counted(c.text)].heard;
    }
    for (const CheckError& error : result.errors) {
      if (error.field != field || error.kind == CheckErrorKind::kInsertion) {
        continue;
      }
      const auto at = static_cast<std::size_t>(error.position);
      const std::u16string expected = Counted(at < keyed.size() ? keyed[at].text : error.expected);
      CharacterTally& tally = record.characters[expected];
      // Never more errors than hearings, whatever the error list says.
      tally.heard = std::max(tally.heard, tally.errors + 1);
      ++tally.errors;
      if (error.kind == CheckErrorKind::kSubstitution && !error.got.empty()) {
        ++record.confusions[{expected, Counted(error.got)}];
      }
    }
  }
  return record;
}

}  // namespace hoshizora
